#pragma once

namespace quarnet::platform {

// Whether the program was started with a console of its own, as a double-click
// in Explorer starts a console program: it is the only process on its console,
// and the process that started it is still running. A console opened from a
// shell has the shell on it too; wine run from a Unix terminal gives a console
// with no Windows parent.
bool hasConsoleOfItsOwn();

// Waits until Enter is pressed on the console, or its input ends.
void waitForEnter();

} // namespace quarnet::platform
