#pragma once

#include "about/versionlayout.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace soramado {

// The modal window with the program's name and version. Made afresh for each
// showing; OK, Enter, Space, Escape and the close box all close it.
class VersionWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = versionlayout::ClientSize.width;
    static constexpr int ClientHeight = versionlayout::ClientSize.height;

    explicit VersionWindow(QWidget* owner);

    QLabel* versionLabel() const { return labVer_; }
    QPushButton* okButton() const { return cmdOK_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void centreOver(QWidget* owner);

    QLabel* labVer_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};

} // namespace soramado
