#pragma once

// Whether the user reads Chinese, as the command line decides which table
// of texts to speak from. The window speaks Chinese always.

namespace quarnet::platform {

// On Linux: the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty starts with "zh". On Windows: the user's UI language is Chinese.
bool userReadsChinese();

// The Linux rule over the three variables' values (null when unset).
bool localeIsChinese(const char* lcAll, const char* lcMessages, const char* lang);

} // namespace quarnet::platform
