#pragma once

#include <QString>

namespace velmora {

// The application title from the language file: the caption of every message box and the name of
// the task-bar entry. Window captions never carry it (Qt would append a display name to them).
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

} // namespace velmora
