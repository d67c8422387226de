// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}

namespace cvarden {

// The About window, frmAbout: the program's name and version, the address of
// its web page and the credits.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

private:
    std::unique_ptr<Ui::AboutDialog> ui;
};

} // namespace cvarden
