// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFileDialog>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>

#include "catalogue.h"
#include "enginefacts.h"
#include "enginevalues.h"
#include "exportconfig.h"
#include "laterfiles.h"
#include "valuestore.h"

class QTreeWidgetItem;

namespace Ui {
class MainWindow;
}

namespace cvarden {

class ChangedMarks;
class ConfigFileDialog;
class ImageList;
class ValueEditors;

// The main window, frm_modoptions: the option tree, the value editors and the
// command buttons, working on the catalogue read at start-up and the player's
// value store.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Before each Save the game file's content is kept as a version in
    // `versionsFolder`; with none given, no versions are kept.
    MainWindow(const QString &cataloguePath, ValueStore &store, const QString &versionsFolder = {},
               QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetUpWindow();
    void SetUpTree();
    void LoadCatalogue(const QString &cataloguePath);
    void ShowCatalogue();
    void SetUpTreeHelpers();
    void ConnectCommands();
    void CheckStore();
    void LoadEngineFacts(const QString &cataloguePath);
    void SetUpEngineMenu();
    void UseEngine();
    void ShowDescription();
    QString NoteEngineOf(const QString &gameFile);
    std::optional<LaterFilesToo> LaterFilesChoice(const QString &chosen);

    // The handlers keep the design's names, after their control and its
    // event. The buttons: Command1 "&About", Command2 "Default value",
    // Command3 "&Save", Command4 "&Open", Command5 "&Reset def.", Command6
    // "&Quit" (which closes the window directly).
    void optiontree_NodeClick(QTreeWidgetItem *node);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void optiontree_ContextMenu(const QPoint &at);

    void ReportStoreProblem(const QString &reason);
    QString ChooseGameFile(const QString &command, QFileDialog::AcceptMode mode);
    bool ReportedFailure(const Outcome &outcome, const QString &what);
    ConfigFileDialog &FileDialog();

    std::unique_ptr<Ui::MainWindow> ui;
    ValueStore &store_;
    QString versionsFolder_;
    Catalogue catalogue_;
    EngineFacts engineFacts_;
    EngineInUse engine_; // the editors and marks read it at each use
    ImageList *ImageList1;
    ConfigFileDialog *cmd = nullptr;
    ValueEditors *editors_;
    ChangedMarks *marks_ = nullptr;
    bool storeProblemShown_ = false;
    // What the files the game runs after the game file opened or saved last
    // set again, by option.
    std::map<std::size_t, LaterSetting> setLater_;
    QTreeWidgetItem *currentAtPress_ = nullptr; // the current node when the tree was last pressed
};

} // namespace cvarden
