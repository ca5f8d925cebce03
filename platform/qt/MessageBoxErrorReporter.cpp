#include "platform/qt/MessageBoxErrorReporter.h"

#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/MessageBoxTitle.h"

#include <QApplication>
#include <QMessageBox>

namespace velmora {

void MessageBoxErrorReporter::ShowError(const std::string& text) {
    QString message = QString::fromStdString(text);
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), message, QMessageBox::Ok,
                    QApplication::activeWindow());
    // Error texts carry file names, which are never read as markup.
    box.setTextFormat(Qt::PlainText);
    FitTitle(box);
    box.exec();
}

} // namespace velmora
