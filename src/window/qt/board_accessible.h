// The board for screen readers on Qt: the accessible interface of the board widget, made by
// Qt's accessibility factory when a screen reader first asks for it.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace lumera {

// Qt's interface factory for the board widget; nothing for any other object.
QAccessibleInterface* BoardAccessibleFactory(const QString& className, QObject* object);

// Installs the factory. Call it once the QApplication exists: the QApplication installs Qt's
// own widget factory, and a factory installed before that one is asked after it.
void InstallBoardAccessibility();

}  // namespace lumera
