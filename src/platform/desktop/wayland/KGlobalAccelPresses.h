#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace desktop {

// Where the shortcut service's press signals land: the bus delivers signals only to slots.
// Lives on the thread whose event loop should hear the presses.
class KGlobalAccelPresses : public QObject {
    Q_OBJECT

public:
    explicit KGlobalAccelPresses(
        std::function<void(const QString& component, const QString& action)> pressed)
        : pressed_(std::move(pressed)) {}

public Q_SLOTS:
    void globalShortcutPressed(const QString& component, const QString& action, qlonglong) {
        pressed_(component, action);
    }

private:
    std::function<void(const QString&, const QString&)> pressed_;
};

}  // namespace desktop
