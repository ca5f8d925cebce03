#include "platform/qt/JapaneseFont.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

namespace velmora {

QString JapaneseFontFamily() {
    return QStringLiteral("Noto Sans CJK JP");
}

void UseJapaneseFont(QWidget* widget) {
    QFont font = widget->font();
    QStringList families = {JapaneseFontFamily(),          QStringLiteral("Noto Sans JP"),
                            QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic"),
                            QStringLiteral("TakaoGothic"), QStringLiteral("VL Gothic")};
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
