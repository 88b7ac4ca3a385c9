#pragma once

namespace rovi::panel {

// Makes every LogView readable by screen readers and UI automation: a
// read-only multi-line text with its text, selection and caret. Installed
// once, before the first LogView is shown (safe to call again).
void InstallLogViewAccessibility();

} // namespace rovi::panel
