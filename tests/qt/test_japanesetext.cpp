// Japanese text on the user's desktop: whether its fonts draw the captions, Qt's
// own dialogs in the user's language, and the font chooser that offers the face alone.

#include "app/menu.h"
#include "qt/facedialog.h"
#include "qt/fontcoverage.h"
#include "qt/translations.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QStringListModel>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace soramado;

namespace {

template <class Part> int visibleCount(const QWidget& dialog)
{
    int count = 0;
    for (const Part* part : dialog.findChildren<Part*>())
        count += part->isVisible() ? 1 : 0;
    return count;
}

// The test machine has Japanese fonts (scripts/setup.sh installs them); the
// e2e check no_japanese_font starts the clock on a desktop without one.
TEST(FontCoverage, TellsWhetherTheFontsDrawEveryCharacter)
{
    const QString captions = japaneseCaptions();
    EXPECT_TRUE(drawsAll(QFont(QStringLiteral("IPAGothic")), captions));
    EXPECT_TRUE(drawsAll(QApplication::font("QMenu"), captions));
    // A character outside the BMP that no font has: one box is enough to tell.
    EXPECT_FALSE(drawsAll(QFont(), QStringLiteral("東京") + QString::fromUcs4(U"\U0010FFFD", 1)));

    testing::internal::CaptureStderr();
    EXPECT_FALSE(warnWithoutJapaneseFont());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Qt's translations for the user's language, removed again at the end.
class QtTranslations : public testing::Test {
protected:
    void TearDown() override
    {
        if (translator)
            QCoreApplication::removeTranslator(translator);
        delete translator;
        QLocale::setDefault(QLocale::c());
    }

    QTranslator* loadFor(const QLocale& locale)
    {
        QLocale::setDefault(locale);
        translator = installQtTranslations(*QCoreApplication::instance());
        return translator;
    }

    QTranslator* translator = nullptr;
};

TEST_F(QtTranslations, PutTheFaceChooserInJapaneseOnAJapaneseDesktop)
{
    ASSERT_NE(loadFor(QLocale(QLocale::Japanese, QLocale::Japan)), nullptr)
        << "no qtbase_ja.qm: scripts/setup.sh installs qt6-translations-l10n";
    const QString font = QCoreApplication::translate("QFontDialog", "&Font");
    EXPECT_NE(font, QStringLiteral("&Font"));

    const std::unique_ptr<QFontDialog> dialog = makeFaceDialog(QFont(), nullptr);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(menu::FontDialogTitle));
    bool labelled = false;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        labelled = labelled || (label->isVisible() && label->text() == font);
    EXPECT_TRUE(labelled) << "the face list's label is not " << font.toStdString();
}

TEST_F(QtTranslations, LeaveTheDialogsInEnglishWhereQtHasNoTranslation)
{
    EXPECT_EQ(loadFor(QLocale(QLocale::Esperanto)), nullptr);
    EXPECT_EQ(QCoreApplication::translate("QFontDialog", "&Font"), QStringLiteral("&Font"));
}

TEST(FaceDialog, OffersTheFaceAndHidesSizeStyleAndEffects)
{
    const std::unique_ptr<QFontDialog> dialog =
        makeFaceDialog(QFont(QStringLiteral("IPAGothic")), nullptr);
    dialog->show();
    EXPECT_TRUE(dialog->testOption(QFontDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog->currentFont().family(), QFont(QStringLiteral("IPAGothic")).family());

    // The face: its field and its list, which holds the installed families
    // (the other field shown is the sample's).
    EXPECT_EQ(visibleCount<QLineEdit>(*dialog), 2);
    ASSERT_EQ(visibleCount<QListView>(*dialog), 1);
    for (const QListView* list : dialog->findChildren<QListView*>()) {
        if (!list->isVisible())
            continue;
        const auto* model = qobject_cast<const QStringListModel*>(list->model());
        ASSERT_NE(model, nullptr);
        EXPECT_TRUE(model->stringList().contains(QStringLiteral("IPAGothic")));
    }
    // No effects; the sample and the writing-system filter stay.
    EXPECT_EQ(visibleCount<QCheckBox>(*dialog), 0);
    EXPECT_EQ(visibleCount<QGroupBox>(*dialog), 1);
    EXPECT_EQ(visibleCount<QComboBox>(*dialog), 1);

    // A face picked is what the dialog gives.
    QFont picked(QStringLiteral("DejaVu Sans"));
    dialog->setCurrentFont(picked);
    dialog->accept();
    EXPECT_EQ(dialog->selectedFont().family(), picked.family());
}

} // namespace
