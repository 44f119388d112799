#include "app/settings.h"

#include "common/numbers.h"
#include "qt/fonts.h"
#include "platform/settingsstore.h"

#include <QLocale>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <limits>

namespace soramado {

namespace {

constexpr int LastLocation = 5;
constexpr float NoPosition = -255;
// A coordinate beyond this lies off every screen anyway; it keeps int conversions sound.
constexpr double FarAway = 1.0e6;

std::optional<double> textToDouble(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::system().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int pixelsFromTwips(float twips)
{
    const double pixels = std::clamp(static_cast<double>(twips) / TwipsPerPixel, -FarAway, FarAway);
    return roundHalfEven(pixels);
}

} // namespace

std::optional<std::int16_t> textToInt16(const QString& text)
{
    const std::optional<double> value = textToDouble(text);
    // -32768.5 rounds to the even -32768; 32767.5 would round up out of range.
    if (!value || *value < -32768.5 || *value >= 32767.5)
        return std::nullopt;
    return static_cast<std::int16_t>(roundHalfEven(*value));
}

std::optional<float> textToSingle(const QString& text)
{
    const std::optional<double> value = textToDouble(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return toFloat32(*value);
}

std::optional<bool> textToBool(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> value = textToDouble(trimmed);
    if (!value)
        return std::nullopt;
    return *value != 0.0;
}

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<QPoint> StoredSettings::framePosition() const
{
    if (!(Left > 0 && Top > 0))
        return std::nullopt;
    return QPoint(pixelsFromTwips(Left), pixelsFromTwips(Top));
}

bool reachesAnyScreen(const QRect& frame, const QList<QRect>& screens)
{
    for (const QRect& screen : screens) {
        if (screen.intersects(frame))
            return true;
    }
    return false;
}

Settings::Settings(SettingsStore& store, Warn warn) : store_(store), warn_(std::move(warn))
{
    if (!warn_)
        warn_ = [](const QString& message) { qWarning().noquote() << message; };
}

StoredSettings Settings::read()
{
    StoredSettings s;
    s.Font = ClockFontFace;

    if (const auto text = store_.ReadSetting(SettingKey::Location)) {
        const std::optional<std::int16_t> index = textToInt16(*text);
        if (index && *index >= 0 && *index <= LastLocation)
            s.LocationIndex = *index;
        else
            warnBadText(SettingKey::Location, *text, QStringLiteral("is not a city index 0 to 5"),
                        QString::number(s.LocationIndex));
    }
    if (const auto text = store_.ReadSetting(SettingKey::Font))
        s.Font = *text;

    const auto readEdge = [this](const QString& key) {
        const auto text = store_.ReadSetting(key);
        if (!text)
            return NoPosition;
        if (const std::optional<float> value = textToSingle(*text))
            return *value;
        warnBadText(key, *text, QStringLiteral("is not a number"), QStringLiteral("no position"));
        return NoPosition;
    };
    s.Left = readEdge(SettingKey::Left);
    s.Top = readEdge(SettingKey::Top);

    if (const auto text = store_.ReadSetting(SettingKey::AlwaysTop)) {
        if (const std::optional<bool> on = textToBool(*text))
            s.AlwaysOnTop = *on;
        else
            warnBadText(SettingKey::AlwaysTop, *text, QStringLiteral("is neither True nor False"),
                        boolText(false));
    }
    return s;
}

void Settings::writeLocation(std::int16_t index)
{
    write(SettingKey::Location, QString::number(index));
}

void Settings::writeFont(const QString& face)
{
    write(SettingKey::Font, face);
}

void Settings::writeAlwaysTop(bool on)
{
    write(SettingKey::AlwaysTop, boolText(on));
}

void Settings::writePosition(QPoint framePixels)
{
    write(SettingKey::Left, QString::number(qint64{framePixels.x()} * TwipsPerPixel));
    write(SettingKey::Top, QString::number(qint64{framePixels.y()} * TwipsPerPixel));
}

void Settings::write(const QString& key, const QString& text)
{
    if (store_.WriteSetting(key, text) || writeFailureReported_)
        return;
    // Once is enough: a read-only or full store will refuse the next writes too.
    writeFailureReported_ = true;
    warn_(QStringLiteral("Soramado: could not save the setting \"%1\"; the settings store refused "
                         "the write. The clock goes on, but changes may not be kept.")
              .arg(key));
}

void Settings::warnBadText(const QString& key, const QString& text, const QString& why,
                           const QString& fallback)
{
    warn_(QStringLiteral("Soramado: the stored setting \"%1\" = \"%2\" %3; using %4 instead.")
              .arg(key, text, why, fallback));
}

} // namespace soramado
