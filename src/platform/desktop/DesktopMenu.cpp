#include "platform/desktop/DesktopMenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMetaObject>

#include "app/Log.h"
#include "platform/desktop/DesktopImage.h"

namespace desktop {
namespace {

// Keyboard-event modifier bits of a key equivalent.
constexpr uint64_t shiftModifier = 0x20000;
constexpr uint64_t controlModifier = 0x40000;
constexpr uint64_t optionModifier = 0x80000;

// As a Linux user reads it: command becomes Ctrl and control becomes Meta, as the toolkit
// maps them; an upper-case letter implies Shift.
QKeySequence keySequence(const platform::MenuItem& item) {
    const QString key = QString::fromStdString(item.keyEquivalent);
    if (key.isEmpty()) return {};
    const uint64_t mask = item.keyEquivalentModifierMask;
    QString text;
    if (mask & platform::MenuItem::commandModifier) text += "Ctrl+";
    if (mask & controlModifier) text += "Meta+";
    if (mask & optionModifier) text += "Alt+";
    if ((mask & shiftModifier) || (key.size() == 1 && key[0].isUpper())) text += "Shift+";
    return QKeySequence::fromString(text + key.toUpper(), QKeySequence::PortableText);
}

// The title as the toolkit should show it: '&' would otherwise mark a mnemonic.
QString plainTitle(const std::string& title) {
    return QString::fromStdString(title).replace('&', "&&");
}

}  // namespace

DesktopMenu::DesktopMenu(std::shared_ptr<platform::Menu> menu)
    : model_(std::move(menu)), menu_(std::make_unique<QMenu>()) {
    QObject::connect(menu_.get(), &QMenu::aboutToShow, [this] {
        rebuild();
        flog("tray: menu opened: " + describe());
    });
    // A tray host on the session bus may read the items without announcing an opening.
    rebuild();
}

DesktopMenu::~DesktopMenu() = default;

void DesktopMenu::rebuild() {
    if (auto* delegate = model_->delegate()) delegate->menuNeedsUpdate(*model_);
    menu_->clear();
    for (const auto& item : model_->items())
        addItem(*item);
}

void DesktopMenu::addItem(const platform::MenuItem& item) {
    if (item.separator) {
        menu_->addSeparator();
        return;
    }
    QAction* action = menu_->addAction(plainTitle(item.title));
    action->setEnabled(model_->isEnabled(item));
    action->setShortcut(keySequence(item));
    if (const auto* image = dynamic_cast<const DesktopImage*>(item.image.get()))
        action->setIcon(image->icon(menu_->palette().color(QPalette::WindowText)));
    if (!item.action) return;
    // Runs once the menu has closed, with its own copy: the action may rebuild or end the
    // menu, or end the program.
    QObject::connect(action, &QAction::triggered, menu_.get(), [run = item.action] {
        QMetaObject::invokeMethod(qApp, run, Qt::QueuedConnection);
    });
}

std::string DesktopMenu::describe() const {
    QStringList entries;
    for (const QAction* action : menu_->actions()) {
        if (action->isSeparator()) {
            entries << "---";
            continue;
        }
        QString entry = action->text().replace("&&", "&");
        if (!action->shortcut().isEmpty())
            entry += " [" + action->shortcut().toString(QKeySequence::NativeText) + "]";
        if (!action->isEnabled()) entry += " (disabled)";
        entries << entry;
    }
    return entries.join(" | ").toStdString();
}

}  // namespace desktop
