#include "page/AnnouncedLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <mutex>

namespace {

// Asked with each class name from the most derived up; this class name is ours alone, so the
// toolkit's own label interface is never reached for it.
QAccessibleInterface* announcedLabelFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String(AnnouncedLabel::staticMetaObject.className())
        || object == nullptr) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

} // namespace

AnnouncedLabel::AnnouncedLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(announcedLabelFactory); });
}
