#pragma once

#include <QStringList>

namespace velmora {

// The open dialog's nine filters, in order, each as "Description (*.a *.b)" the way Qt's dialog
// reads them.
QStringList FileOpenFilters();

} // namespace velmora
