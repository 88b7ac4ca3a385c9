#pragma once

// Texts that follow the window's language: `set` runs now, and again each
// time `owner` hears that the language changed, so a widget states once
// which texts it shows (each through tr()) and keeps them current.

#include <functional>

class QWidget;

namespace rovi {

void Retranslated(QWidget *owner, std::function<void()> set);

} // namespace rovi
