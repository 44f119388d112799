#include "qt/fontcoverage.h"

#include "app/layout.h"
#include "app/menu.h"
#include "common/numbers.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <chrono>
#include <cstdio>

namespace soramado {

QString japaneseCaptions()
{
    QString text;
    for (const char* caption : {menu::Title, menu::Font, menu::Location, menu::AlwaysOnTop,
                                menu::Version, menu::Quit, menu::FontDialogTitle})
        text += QString::fromUtf8(caption);
    for (std::size_t i = 0; i < Cities.size(); ++i)
        text += QString::fromStdString(menu::cityCaption(i));
    using namespace std::chrono;
    text += QString::fromStdString(dateLabelText(2003y / May / 1));
    return text;
}

bool drawsAll(const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    for (const char32_t character : text.toUcs4()) {
        if (!metrics.inFontUcs4(character))
            return false;
    }
    return true;
}

bool warnWithoutJapaneseFont()
{
    const QString captions = japaneseCaptions();
    if (drawsAll(QFont(QString::fromUtf8(layout::LabelFontFace)), captions) &&
        drawsAll(QApplication::font("QMenu"), captions))
        return false;
    std::fprintf(stderr, "soramado: no installed font has the Japanese characters of the menu and "
                         "labels, so they show as empty boxes; install a Japanese font, such as "
                         "Debian's package fonts-ipafont-gothic or fonts-noto-cjk\n");
    std::fflush(stderr);
    return true;
}

} // namespace soramado
