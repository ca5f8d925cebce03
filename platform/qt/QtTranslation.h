#pragma once

#include <QTranslator>

namespace velmora {

// Qt's own texts (the buttons of message boxes, the file dialog) in one language at a time, from
// the translations Qt installs.
class QtTranslation {
public:
    QtTranslation() = default;
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // locale: "zh_CN", "ja", …; English (Qt's own) when none is installed for it.
    void Use(const QString& locale);

private:
    QTranslator translator_;
    bool installed_ = false;
};

} // namespace velmora
