#include "UserLanguage.h"

#include <windows.h>

namespace quarnet::platform {

bool userReadsChinese()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
}

} // namespace quarnet::platform
