#pragma once

#include <QStringList>

namespace velmora {

// The language keys of the open dialog's filter names, in the dialog's order.
QStringList FileOpenFilterKeys();

// The open dialog's filters, in order, each as "Name (*.a *.b)" the way Qt's dialog reads them:
// every kind the job list takes, the kinds by family, then all files. names: one per key, in order.
QStringList FileOpenFilters(const QStringList& names);

} // namespace velmora
