#pragma once

// The parameter panel's rules as plain functions: which mirror text a
// group's controls give, and which message a number box's range check shows.

#include "base/texts.h"
#include "protocol/frame.h"

#include <optional>
#include <string>
#include <string_view>

namespace rovi::panel {

// What a rule does: write a mirror, or show a message and give the focus back.
struct RuleOutcome {
    std::optional<std::string> mirror;
    std::optional<std::string> message; // shown with refocus
    bool operator==(const RuleOutcome &) const = default;
};

// The rules' words, in the panel's source language; the panel shows them
// translated (context "MirrorRules").
inline constexpr const char *kIdRangeMessage = MarkedText("MirrorRules", "数据在1到240之间");
inline constexpr const char *kIdFormatMessage = MarkedText("MirrorRules", "数据格式不对");
inline constexpr const char *kTimeRangeMessage = MarkedText("MirrorRules", "数据在0到60之间");
inline constexpr const char *kRereadExitMessage = MarkedText("MirrorRules", "请填写数据0到60之间的数据");
inline constexpr const char *kSendTimeExitMessage = MarkedText("MirrorRules", "请填写数据1到60之间的数据");

// Digit filter of the number boxes: "0".."9" and backspace pass.
bool DigitFilterAccepts(char32_t typed);

// idAddress change: throws ConversionError when the text does not parse.
RuleOutcome IdChange(std::string_view text);
// idAddress exit: nothing happens only when the text is a valid ID and the mirror is rewritten.
RuleOutcome IdExit(std::string_view text);

// Unit indexes: rereadUnit 0 "分" / else "秒"; sendTimeUnit 0 "秒" / else "0.1秒".
RuleOutcome RereadChange(std::string_view text, bool leave_mode, int unit_index);
RuleOutcome SendTimeChange(std::string_view text, int unit_index);
// Exit rules of rereadTime and sendTime: a message only for a parsed value outside 0..60.
std::optional<std::string> RereadExit(std::string_view text);
std::optional<std::string> SendTimeExit(std::string_view text);

// List and radio rules: the field byte of the choice, as a mirror text.
std::string WiegandMirror(const Wiegand &choice);
std::string PowerMirror(const Power &choice);
std::string SerialFmtMirror(int index);
std::string BaudMirror(int index);

// continuousReread's caption for its state.
std::string RereadModeCaption(bool checked);

} // namespace rovi::panel
