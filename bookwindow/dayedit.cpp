#include "bookwindow/dayedit.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace brimwell {

DayEdit::DayEdit(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
}

void DayEdit::stepBy(int steps) {
    setDate(date().addDays(steps));
    selectAll();
}

QAbstractSpinBox::StepEnabled DayEdit::stepEnabled() const {
    StepEnabled enabled;
    if (date() > minimumDate()) {
        enabled |= StepDownEnabled;
    }
    if (date() < maximumDate()) {
        enabled |= StepUpEnabled;
    }
    return enabled;
}

void DayEdit::showCalendar() {
    // QDateEdit opens its calendar only on a press on its arrow; the arrow is found as it finds it.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QPoint arrow =
        style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this)
            .center();
    QMouseEvent press(QEvent::MouseButtonPress, arrow, mapToGlobal(arrow), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    mousePressEvent(&press);
}

QCalendarWidget* DayEdit::openedCalendar() const {
    return findChild<QCalendarWidget*>();
}

void DayEdit::mousePressEvent(QMouseEvent* event) {
    QDateEdit::mousePressEvent(event);
    if (QCalendarWidget* calendar = openedCalendar(); calendar && calendar->isVisible()) {
        Q_EMIT calendarOpened();
    }
}

void DayEdit::keyPressEvent(QKeyEvent* event) {
    const bool altDown = event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier;
    if (event->key() == Qt::Key_F4 || altDown) {
        showCalendar();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

}  // namespace brimwell
