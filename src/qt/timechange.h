#pragma once

#include <QObject>

class QSocketNotifier;

namespace soramado {

// Tells at once when the system clock is set (by hand, by a time service
// stepping it, or on waking from a suspend), so that the clock shows the new
// time now rather than at the wake it had planned on the old one. Where the
// system gives no such notice it never fires, and the planned wakes alone
// bring the new time, up to a second late.
class TimeChangeNotice : public QObject {
    Q_OBJECT
public:
    explicit TimeChangeNotice(QObject* parent = nullptr);
    ~TimeChangeNotice() override;
    TimeChangeNotice(const TimeChangeNotice&) = delete;
    TimeChangeNotice& operator=(const TimeChangeNotice&) = delete;

    // Whether the system will tell of a set here.
    bool listening() const { return handle_ >= 0; }

signals:
    void timeChanged();

private:
    int handle_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace soramado
