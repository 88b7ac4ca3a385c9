#pragma once

// The card test's table in words: its columns, the values of its cells as
// the window, the CSV file and the command line write them, and the CSV
// file itself.

#include "cardtally.h"

#include <array>
#include <cstdint>
#include <string>

namespace rovi {

enum class CardColumn { Card, Reads, First, Last, MeanInterval, PerMinute, State };
inline constexpr int kCardColumns = 7;

// The column's title in the window's language (Translated, context "CardSheet").
std::string CardColumnTitle(CardColumn column);
// "在场" or "离开", in the window's language.
std::string CardStateText(bool left);
// "12 次读卡未列出": the reads of cards a full table could not list.
std::string UnlistedText(std::uint64_t reads);

// A mean interval in seconds with two decimals ("1.25"); "" before a
// card's second read.
std::string IntervalSeconds(const CardTally::Card &card);

// The table as a CSV file Excel opens as it is: UTF-8 with a byte order
// mark, CRLF lines, a title row in the window's language, one row a card in
// the order they were first read (times as local "2026-12-11 14:03:07.412",
// the mean interval in seconds), and, when the table was full, a last row
// with the unlisted reads. A cell that a spreadsheet would take as a
// formula starts with an apostrophe.
std::string CardsCsv(const CardTally &tally);

} // namespace rovi
