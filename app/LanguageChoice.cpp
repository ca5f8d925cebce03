#include "app/LanguageChoice.h"

namespace velmora {

LanguageChoice ChooseLanguage(int32_t languageId, const std::string& appDir) {
    switch (languageId) {
    case kLanguageChinese:
        return {appDir + "language/gb.ini",           appDir + "Velmora_gb.html",
                "https://cn.velmora.example/",        "mailto:support-cn@velmora.example",
                "https://cn.velmora.example/contact", "zh_CN"};
    case kLanguageJapanese:
        return {appDir + "language/jp.ini",       appDir + "Velmora_jp.html",
                "https://jp.velmora.example/",    "mailto:support-jp@velmora.example",
                "https://jp.velmora.example/faq", "ja"};
    default:
        return {appDir + "language/en.ini",
                appDir + "Velmora.html",
                "https://www.velmora.example/",
                "mailto:support@velmora.example",
                "https://www.velmora.example/feedback",
                "en"};
    }
}

std::string WindowLanguageCode(int32_t languageId) {
    return languageId == kLanguageChinese ? "chi" : languageId == kLanguageJapanese ? "jpn" : "eng";
}

} // namespace velmora
