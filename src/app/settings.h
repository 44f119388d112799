#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace soramado {

class SettingsStore;

// The five keys of the section "Setting".
namespace SettingKey {
inline const QString Location = QStringLiteral("Location");
inline const QString Font = QStringLiteral("Font");
inline const QString Left = QStringLiteral("Left");
inline const QString Top = QStringLiteral("Top");
inline const QString AlwaysTop = QStringLiteral("AlwaysTop");
} // namespace SettingKey

// Window positions are stored in twips, 15 to the logical pixel.
constexpr int TwipsPerPixel = 15;

// The text forms of the store. Each reader gives nothing for a text it cannot read.
// A decimal number, rounded half to even, in the signed 16-bit range.
std::optional<std::int16_t> textToInt16(const QString& text);
// A decimal number held in single precision.
std::optional<float> textToSingle(const QString& text);
// "True" or "False" in any case, or a number (0 is false, any other true).
std::optional<bool> textToBool(const QString& text);
QString boolText(bool value);

// What the settings step of start-up found, defaults filled in.
struct StoredSettings {
    std::int16_t LocationIndex = 2;
    QString Font;
    float Left = -255;
    float Top = -255;
    bool AlwaysOnTop = false;

    // The window frame's top-left in pixels, when both edges are stored above 0.
    std::optional<QPoint> framePosition() const;
};

// True when a window frame there overlaps at least one of the screens.
bool reachesAnyScreen(const QRect& frame, const QList<QRect>& screens);

// The one typed way to the store: reads the settings step's five keys and
// writes each setting in its text form. A store that cannot be read, a stored
// text that cannot be used and a write that fails are each reported for what
// they are through the warning sink (stderr by default) and never stop the
// program.
class Settings {
public:
    using Warn = std::function<void(const QString&)>;

    explicit Settings(SettingsStore& store, Warn warn = {});

    // "Location", "Font", "Left", "Top", "AlwaysTop", in that order.
    StoredSettings read();

    void writeLocation(std::int16_t index);
    void writeFont(const QString& face);
    void writeAlwaysTop(bool on);
    // "Left" and then "Top" of the window frame, given in pixels.
    void writePosition(QPoint framePixels);

private:
    void write(const QString& key, const QString& text);
    void warnBadText(const QString& key, const QString& text, const QString& why,
                     const QString& fallback);

    SettingsStore& store_;
    Warn warn_;
    // Key and cause of each write failure told: a broken disk must not flood the
    // log, but a new failure is news.
    QSet<QString> reportedFailures_;
};

} // namespace soramado
