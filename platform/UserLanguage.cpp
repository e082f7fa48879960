#include "UserLanguage.h"

#include <string_view>

namespace quarnet::platform {

bool localeIsChinese(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value && *value != '\0')
            return std::string_view(value).starts_with("zh");
    }
    return false;
}

} // namespace quarnet::platform
