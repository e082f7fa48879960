#include "UserLanguage.h"

#include <cstdlib>

namespace quarnet::platform {

bool userReadsChinese()
{
    return localeIsChinese(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

} // namespace quarnet::platform
