#pragma once

#include <QDateEdit>

namespace brimwell {

// The day's date: Up and Down, the wheel and the spin arrows step a day whichever part of the date
// the cursor is in, so that the year never changes unseen (it turns only as a day steps over New
// Year); F4 or Alt+Down opens the calendar.
class DayEdit : public QDateEdit {
    Q_OBJECT

public:
    explicit DayEdit(QWidget* parent = nullptr);

    void stepBy(int steps) override;
    // Opens the calendar as a click on the field's arrow does.
    void showCalendar();
    // The calendar once it has been opened, else null: it is made as it first opens.
    class QCalendarWidget* openedCalendar() const;

Q_SIGNALS:
    void calendarOpened();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    StepEnabled stepEnabled() const override;
};

}  // namespace brimwell
