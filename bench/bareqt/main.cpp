// The toolkit's floor: a bare Qt window of the clock's size with one label.
// With --tick it also wakes every 100 ms and changes the label once a second,
// as the clock does, so the cost of the wake-ups alone can be seen.

#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Tool);
    window.setWindowTitle(QStringLiteral("bareqt"));
    window.setFixedSize(169, 172);
    QLabel label(QStringLiteral("0"), &window);
    label.setGeometry(4, 140, 162, 29);
    QTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { label.setText(QString::number(++ticks / 10)); });
    if (QApplication::arguments().contains(QStringLiteral("--tick")))
        timer.start(100);
    window.show();
    return QApplication::exec();
}
