// The toolkit's floor: a bare Qt window of the clock's size with one label.
//   --tick    also wakes every 100 ms and changes the label once a second, as
//             the clock did, so that the cost of those wake-ups can be seen;
//   --second  wakes once a second and sets the label to the time: the least a
//             Qt clock can do.

#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool tick = args.contains(QStringLiteral("--tick"));
    const bool second = args.contains(QStringLiteral("--second"));
    QWidget window(nullptr, Qt::Tool);
    window.setWindowTitle(tick     ? QStringLiteral("bareqt-tick")
                          : second ? QStringLiteral("bareqt-second")
                                   : QStringLiteral("bareqt"));
    window.setFixedSize(169, 172);
    QLabel label(QStringLiteral("0"), &window);
    label.setGeometry(4, 140, 162, 29);
    QTimer timer;
    int ticks = 0;
    if (tick) {
        QObject::connect(&timer, &QTimer::timeout,
                         [&] { label.setText(QString::number(++ticks / 10)); });
        timer.start(100);
    } else if (second) {
        QObject::connect(&timer, &QTimer::timeout, [&] {
            label.setText(QTime::currentTime().toString(QStringLiteral("h:mm:ss")));
        });
        timer.start(1000);
    }
    window.show();
    return QApplication::exec();
}
