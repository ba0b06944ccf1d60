// SPDX-License-Identifier: GPL-3.0-or-later
// What the journal text holds around the documents' lines, as a retrieval writes temp.xml:
// the declaration and the root's start tag before them, the end tag after.
#pragma once

#include <string_view>

namespace retrieval {

inline constexpr std::string_view kJournalDeclaration = R"(<?xml version="1.0" encoding="windows-1251"?>)";
inline constexpr std::string_view kJournalRootStart = R"(<RQ V="1">)";
inline constexpr std::string_view kJournalRootEnd = "</RQ>";

}  // namespace retrieval
