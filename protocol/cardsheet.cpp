#include "cardsheet.h"

#include "base/localtime.h"
#include "base/texts.h"

#include <cstdio>

namespace rovi {

namespace {

constexpr const char *kContext = "CardSheet";

constexpr std::array<const char *, kCardColumns> kTitles = {
    MarkedText("CardSheet", "卡号"),     MarkedText("CardSheet", "次数"),     MarkedText("CardSheet", "首次读到"),
    MarkedText("CardSheet", "最近读到"), MarkedText("CardSheet", "平均间隔"), MarkedText("CardSheet", "每分钟"),
    MarkedText("CardSheet", "状态"),
};

// A CSV cell: quoted when it holds a separator, a quote or a line end;
// an apostrophe first when a spreadsheet would read it as a formula.
std::string CsvCell(std::string text)
{
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        text.insert(0, 1, '\'');
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string CardColumnTitle(CardColumn column)
{
    return Translated(kContext, kTitles[static_cast<std::size_t>(column)]);
}

std::string CardStateText(bool left)
{
    return left ? Translated("CardSheet", "离开") : Translated("CardSheet", "在场");
}

std::string UnlistedText(std::uint64_t reads)
{
    return Filled(Translated("CardSheet", "%1 次读卡未列出"), {std::to_string(reads)});
}

std::string IntervalSeconds(const CardTally::Card &card)
{
    const auto interval = CardTally::MeanInterval(card);
    if (!interval)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(interval->count()) / 1000.0);
    return text;
}

std::string CardsCsv(const CardTally &tally)
{
    std::string csv = "\xEF\xBB\xBF";
    for (int column = 0; column < kCardColumns; ++column) {
        std::string title = CardColumnTitle(static_cast<CardColumn>(column));
        if (static_cast<CardColumn>(column) == CardColumn::MeanInterval)
            title += Translated("CardSheet", "(秒)");
        csv += (column ? "," : "") + CsvCell(title);
    }
    csv += "\r\n";
    for (std::size_t row = 0; row < tally.Size(); ++row) {
        const CardTally::Card &card = tally.At(row);
        csv += CsvCell(card.text) + ',' + std::to_string(card.reads) + ',' + LocalDayClock(card.first) + ',' +
               LocalDayClock(card.last) + ',' + IntervalSeconds(card) + ',' + std::to_string(card.last_minute) + ',' +
               CsvCell(CardStateText(card.left)) + "\r\n";
    }
    if (tally.UnlistedReads() > 0)
        csv += CsvCell(UnlistedText(tally.UnlistedReads())) + ',' + std::to_string(tally.UnlistedReads()) + ",,,,,\r\n";
    return csv;
}

} // namespace rovi
