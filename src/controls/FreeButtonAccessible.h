#pragma once

// The free button as assistive technologies see it: a push button named by its caption whose
// press action clicks it.
namespace FreeButtonAccessible {

// Registers the interface with Qt's accessibility; once is enough, more calls do nothing.
void install();

} // namespace FreeButtonAccessible
