#include "platform/qt/JapaneseFont.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

namespace velmora {

namespace {

CjkScript preferred = CjkScript::Japanese;

QStringList FamiliesFor(CjkScript script) {
    switch (script) {
    case CjkScript::Korean:
        return {QStringLiteral("Noto Sans CJK KR"), QStringLiteral("Noto Sans KR"),
                QStringLiteral("NanumGothic"), QStringLiteral("UnDotum")};
    case CjkScript::TraditionalChinese:
        return {QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans TC"),
                QStringLiteral("AR PL UMing TW"), QStringLiteral("WenQuanYi Zen Hei")};
    case CjkScript::Japanese:
        break;
    }
    return {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"), QStringLiteral("IPAexGothic"),
            QStringLiteral("IPAGothic"),        QStringLiteral("TakaoGothic"),  QStringLiteral("VL Gothic")};
}

} // namespace

void PreferCjkFont(CjkScript script) {
    preferred = script;
}

QString JapaneseFontFamily() {
    return FamiliesFor(preferred).first();
}

void UseJapaneseFont(QWidget* widget) {
    QFont font = widget->font();
    QStringList families = FamiliesFor(preferred);
    // Applied again at each show and language switch: the list must not grow.
    for (const QString& family : font.families().isEmpty() ? QStringList{font.family()} : font.families())
        if (!families.contains(family))
            families.append(family);
    font.setFamilies(families);
    widget->setFont(font);
}

void KeepFontFamily(QWidget* widget) {
    QFont font = widget->font();
    font.setFamilies(font.families().isEmpty() ? QStringList{font.family()} : font.families());
    widget->setFont(font);
}

} // namespace velmora
