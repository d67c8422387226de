// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <filesystem>

#include "aboutdialog.h"
#include "busypointer.h"
#include "bytetext.h"
#include "changedmarks.h"
#include "classiclook.h"
#include "configfiledialog.h"
#include "enginechoice.h"
#include "enginefile.h"
#include "exportconfig.h"
#include "images.h"
#include "importconfig.h"
#include "laterfilesquestion.h"
#include "loader.h"
#include "nativepath.h"
#include "nodeitems.h"
#include "normalize.h"
#include "notice.h"
#include "programinfo.h"
#include "reset.h"
#include "runninggamequestion.h"
#include "screenreader.h"
#include "typeaheadfind.h"
#include "ui_mainwindow.h"
#include "valueeditors.h"

namespace cvarden {
namespace {

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

MainWindow::MainWindow(const QString &cataloguePath, ValueStore &store, const QString &versionsFolder, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::MainWindow>()), store_(store), versionsFolder_(versionsFolder),
      ImageList1(new ImageList(this))
{
    ui->setupUi(this);
    editors_ = new ValueEditors(ui->val_value, ui->val_check, ui->val_combo, store_, engine_, this);
    SetUpWindow();
    SetUpTree();
    LoadCatalogue(cataloguePath);
    LoadEngineFacts(cataloguePath);
    SetUpTreeHelpers();
    ConnectCommands();
    SetUpEngineMenu();
    CheckStore();
    // As a new run finds them: what the files the game runs after the game
    // file opened or saved last set again.
    if (const std::string gameFile = store_.GetChoice(lastGameFileName, {}); !gameFile.empty())
        setLater_ = FindOverriddenOptions(gameFile, catalogue_.tree).options;
    ui->optiontree->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetUpWindow()
{
    setWindowTitle(tr("%1 - v%2").arg(QString::fromLatin1(program::name), QString::fromLatin1(program::version)));
    setWindowIcon(ProgramIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    ApplyClassicLook(this);
    ShowAsLink(ui->Text1, QString::fromLatin1(program::address));
    NameControlsForScreenReaders(this);
}

void MainWindow::SetUpTree()
{
    // The selected option stays highlighted while the player works in its
    // editor.
    QPalette palette = ui->optiontree->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    ui->optiontree->setPalette(palette);
    ui->optiontree->clear();
}

void MainWindow::LoadCatalogue(const QString &cataloguePath)
{
    const Outcome opened = OpenOptions(PathBytes(cataloguePath), catalogue_);
    ShowCatalogue();
    if (opened.ok())
        return;
    const std::string failure = opened.message();
    // Told once the window is up, so the player sees what it is about.
    QMetaObject::invokeMethod(
        this,
        [this, cataloguePath, failure] {
            ShowNotice(
                this, QMessageBox::Warning,
                tr("Cvarden has no options to show: it could not read its option list %1.").arg(Shown(cataloguePath)),
                FromSystemText(failure));
        },
        Qt::QueuedConnection);
}

void MainWindow::LoadEngineFacts(const QString &cataloguePath)
{
    engine_.facts = &engineFacts_;
    const std::string path = EngineFactsBeside(PathBytes(cataloguePath));
    std::error_code missing;
    // Without the file, every option behaves as with no engine known.
    if (!std::filesystem::exists(NativePath(path), missing))
        return UseEngine();
    const Outcome loaded = cvarden::LoadEngineFacts(path, engineFacts_);
    UseEngine();
    if (loaded.ok())
        return;
    const std::string failure = loaded.message();
    QMetaObject::invokeMethod(
        this,
        [this, failure] {
            ShowNotice(this, QMessageBox::Warning,
                       tr("Cvarden could not read its engine facts, so it treats every engine alike."),
                       FromSystemText(failure));
        },
        Qt::QueuedConnection);
}

// Takes the engine in use afresh (after a choice, or an Open that detected
// one) and shows what it changes.
void MainWindow::UseEngine()
{
    engine_ = ResolveEngine(engineFacts_, store_).inUse;
    if (marks_)
        marks_->Refresh();
    if (QTreeWidgetItem *current = ui->optiontree->currentItem())
        optiontree_NodeClick(current);
}

void MainWindow::SetUpEngineMenu()
{
    ui->optiontree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->optiontree, &QWidget::customContextMenuRequested, this, &MainWindow::optiontree_ContextMenu);
}

void MainWindow::optiontree_ContextMenu(const QPoint &at)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("engineMenu"));
    // Each entry stores one choice and takes the engine in use afresh.
    const auto addChoice = [&](const QString &text, const char *storeName, const std::string &choice,
                               Outcome (*choose)(ValueStore &, const std::string &)) {
        QAction *action = menu.addAction(text, this, [this, choose, choice] {
            ReportedFailure(choose(store_, choice), tr("Cvarden could not keep your choice."));
            UseEngine();
        });
        action->setCheckable(true);
        action->setChecked(store_.GetChoice(storeName, "auto") == choice);
        action->setObjectName(QString::fromStdString(std::string(storeName) + "-" + choice));
    };
    addChoice(tr("Detect from the game file"), engineChoiceName, "auto", ChooseEngine);
    menu.addSeparator();
    addChoice(tr("ioquake3"), engineChoiceName, EngineName(Engine::Ioquake3), ChooseEngine);
    addChoice(tr("1.32 release"), engineChoiceName, EngineName(Engine::Release132), ChooseEngine);
    addChoice(tr("Quake3e"), engineChoiceName, EngineName(Engine::Quake3e), ChooseEngine);
    // The game code (cg_, ui_, g_ variables) apart: every engine runs the
    // 1.32 one unless ioquake3's own is installed.
    menu.addSeparator();
    addChoice(tr("Game code: detect from the game file"), gameCodeChoiceName, "auto", ChooseGameCode);
    addChoice(tr("Game code: the 1.32 release's"), gameCodeChoiceName, EngineName(Engine::Release132), ChooseGameCode);
    addChoice(tr("Game code: ioquake3's own"), gameCodeChoiceName, EngineName(Engine::Ioquake3), ChooseGameCode);
    menu.exec(ui->optiontree->viewport()->mapToGlobal(at));
}

// What Open says of the file's engine; the file and the detection are kept
// (for "auto" and for `cvarden-cli get`).
QString MainWindow::NoteEngineOf(const QString &gameFile)
{
    static_cast<void>(store_.SaveChoice(lastGameFileName, PathBytes(gameFile)));
    EngineDetection detection;
    if (engineFacts_.empty() || DetectEngineOfFile(engineFacts_, PathBytes(gameFile), detection).failed())
        return {};
    static_cast<void>(RememberDetection(store_, detection));
    UseEngine();
    if (detection.engine == Engine::None)
        return tr("\n\nWhich engine wrote the file is unclear.");
    return tr("\n\nThe file looks written by %1.").arg(QString::fromLatin1(EngineLabel(detection.engine)));
}

void MainWindow::CheckStore()
{
    const Outcome read = store_.reload();
    if (read.ok())
        return;
    const std::string problem = read.message();
    // Told once the window is up, as for the catalogue.
    QMetaObject::invokeMethod(
        this,
        [this, problem] {
            ShowNotice(this, QMessageBox::Warning,
                       tr("Cvarden cannot read your option values, so it shows the defaults and will not Save or "
                          "Open until they can be read."),
                       FromSystemText(problem));
        },
        Qt::QueuedConnection);
}

void MainWindow::ShowCatalogue()
{
    // The items are built apart from the tree and handed over at once: added
    // one by one, each would make the tree update itself again.
    const OptionTree &tree = catalogue_.tree;
    std::vector<QTreeWidgetItem *> items(tree.count() + 1, nullptr);
    QList<QTreeWidgetItem *> folders;
    for (std::size_t index = 1; index <= tree.count(); ++index) {
        const OptionNode &node = tree.item(index);
        auto *item = node.hasParent() ? new QTreeWidgetItem(items[node.parent]) : new QTreeWidgetItem();
        if (!node.hasParent())
            folders.append(item);
        item->setText(0, FromBytes(node.text));
        item->setIcon(0, ImageList1->icon(node.image()));
        SetNodeIndex(item, index);
        items[index] = item;
    }
    ui->optiontree->addTopLevelItems(folders);
}

void MainWindow::SetUpTreeHelpers()
{
    marks_ = new ChangedMarks(ui->optiontree, catalogue_.tree, store_, engine_, this);
    marks_->Refresh();
    connect(editors_, &ValueEditors::valueStored, marks_, &ChangedMarks::Refresh);
    connect(editors_, &ValueEditors::valueStored, this, &MainWindow::ShowDescription);
    new TypeAheadFind(ui->optiontree, catalogue_.tree, this);
}

void MainWindow::ConnectCommands()
{
    // The current node follows both clicks and the arrow keys. A click on the
    // node already current selects it again, which shows its stored value
    // afresh (after an Open, say).
    connect(ui->optiontree, &QTreeWidget::currentItemChanged, this, &MainWindow::optiontree_NodeClick);
    ui->optiontree->viewport()->installEventFilter(this);
    connect(ui->optiontree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) {
        if (node == currentAtPress_)
            optiontree_NodeClick(node);
    });
    connect(editors_, &ValueEditors::storeFailed, this, &MainWindow::ReportStoreProblem);
    connect(ui->Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &MainWindow::Command3_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &MainWindow::Command4_Click);
    connect(ui->Command5, &QPushButton::clicked, this, &MainWindow::Command5_Click);
    connect(ui->Command6, &QPushButton::clicked, this, &QWidget::close);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->optiontree->viewport() && event->type() == QEvent::MouseButtonPress)
        currentAtPress_ = ui->optiontree->currentItem();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::optiontree_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    const OptionNode &option = catalogue_.tree.item(NodeIndexOf(node));
    editors_->ShowOption(option);
    // Showing an option reads the store afresh: values another run saved
    // since get their marks too.
    marks_->Refresh();
    ShowDescription();
}

// A value that a file the game runs later sets again, then the description,
// then what the engine in use adds: what it makes of the value shown (first,
// as the label holds about two lines), a restart, that it does not save or
// know the variable.
void MainWindow::ShowDescription()
{
    QTreeWidgetItem *current = ui->optiontree->currentItem();
    if (!current)
        return;
    const OptionNode &option = catalogue_.tree.item(NodeIndexOf(current));
    std::string text = catalogue_.descriptionOf(option);
    if (option.hasParent()) {
        const std::string value = store_.Get(option.text, DefaultInUse(engine_, option));
        // With no engine known the description is the catalogue's alone.
        const std::string problem =
            engine_.engine == Engine::None ? std::string() : ValueProblem(engine_, option.variable(), value);
        for (const std::string &note : {problem, EngineNotes(engine_, option.variable(), text)})
            text += note.empty() ? "" : " " + note;
    }
    QString shown = FromBytes(text);
    // First, where the label surely shows it: it decides whether an edit
    // here matters at all.
    if (const auto later = setLater_.find(NodeIndexOf(current)); later != setLater_.end())
        shown = tr("At every start of the game, %1: a value saved only here does not hold.\n%2")
                    .arg(FromSystemText(DescribeLaterSetting(later->second)), shown);
    ui->desclbl->setText(shown);
    // The label holds about two lines; its tip holds all of them.
    ui->desclbl->setToolTip(shown);
    DescribeSelectedOption(this, option);
}

ConfigFileDialog &MainWindow::FileDialog()
{
    // Made at its first use: building a file dialog costs more than the
    // whole rest of the window, and most runs never open one. It is kept, so
    // it remembers the file chosen last.
    if (!cmd) {
        cmd = new ConfigFileDialog(this);
        // A new run starts at the game file opened or saved last.
        if (const QString last = FromSystemText(store_.GetChoice(lastGameFileName, {})); QFileInfo(last).isFile())
            cmd->selectFile(last);
    }
    return *cmd;
}

void MainWindow::Command1_Click()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::Command2_Click()
{
    editors_->ShowDefault();
}

// Save would write defaults over the player's settings, and Open would
// write over a store that may still be mended: both wait until it can be
// read. The game file the player chose, or the empty text when there is none
// to work on.
QString MainWindow::ChooseGameFile(const QString &command, QFileDialog::AcceptMode mode)
{
    if (const Outcome read = store_.reload(); read.failed()) {
        ShowNotice(this, QMessageBox::Warning,
                   tr("Cvarden will not %1 while it cannot read your option values.").arg(command),
                   FromSystemText(read.message()));
        return {};
    }
    return FileDialog().ChooseExisting(mode);
}

// Says why a command failed, when it did.
bool MainWindow::ReportedFailure(const Outcome &outcome, const QString &what)
{
    if (outcome.ok())
        return false;
    ShowNotice(this, QMessageBox::Warning, what, FromSystemText(outcome.message()));
    return true;
}

// Whether the save writes into the files the game runs later too, asked
// only when they would set a saved value again; nothing when the player
// cancels. A plan that fails says why at the save itself.
std::optional<LaterFilesToo> MainWindow::LaterFilesChoice(const QString &chosen)
{
    SavePlan plan;
    {
        const BusyPointer busy(this, BusyPointer::AfterRestore::Nothing);
        std::string bytes;
        plan = PlanExport(PathBytes(chosen), catalogue_.tree, store_, bytes, engine_);
    }
    if (plan.outcome.failed() || plan.willNotHold.empty())
        return LaterFilesToo::No;
    return AskAboutLaterFiles(this, plan, catalogue_.tree);
}

void MainWindow::Command3_Click()
{
    const QString chosen = ChooseGameFile(tr("save"), QFileDialog::AcceptSave);
    if (chosen.isEmpty() || !SaveDespiteRunningGame(this, chosen))
        return;
    const std::optional<LaterFilesToo> laterFiles = LaterFilesChoice(chosen);
    if (!laterFiles)
        return;
    SavePlan plan;
    {
        const BusyPointer busy(this, BusyPointer::AfterRestore::RunPendingEvents);
        plan =
            ExportConfig(PathBytes(chosen), catalogue_.tree, store_, PathBytes(versionsFolder_), engine_, *laterFiles);
    }
    if (ReportedFailure(plan.outcome, tr("Cvarden could not save the settings to %1.").arg(Shown(chosen))))
        return;
    setLater_ = plan.setLater;
    static_cast<void>(NoteEngineOf(chosen)); // kept for "auto", as after an Open
    const QString backup = Shown(FromSystemText(BackupPathFor(PathBytes(chosen))));
    const QString summary =
        tr("%1.\n%2\nWhat the file held before is kept in %3, as Cvarden reads it; \"cvarden-cli restore\" "
           "brings back the exact earlier file.")
            .arg(FromSystemText(SaveSummary(plan)), FromSystemText(LaterFilesSummary(plan, Tense::Done)), backup);
    const QString warning = FromSystemText(plan.warnings).trimmed();
    ShowNotice(this, warning.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
               tr("Settings saved to %1.").arg(Shown(chosen)),
               warning.isEmpty() ? summary : summary + "\n\n" + warning);
}

void MainWindow::Command4_Click()
{
    const QString chosen = ChooseGameFile(tr("open a file"), QFileDialog::AcceptOpen);
    if (chosen.isEmpty())
        return;
    ImportReport report;
    {
        const BusyPointer busy(this, BusyPointer::AfterRestore::Nothing);
        report = ImportConfig(PathBytes(chosen), catalogue_.tree, store_);
    }
    marks_->Refresh();
    if (ReportedFailure(report.outcome, tr("Cvarden could not import the settings from %1.").arg(Shown(chosen))))
        return;
    setLater_ = report.setLaterByOption;
    ShowNotice(this, QMessageBox::Information, tr("Settings imported from %1.").arg(Shown(chosen)),
               FromSystemText(ImportSummary(report)) + "." + NoteEngineOf(chosen));
}

void MainWindow::Command5_Click()
{
    // Said at every reset, unlike an editor's saves: the player asked for it.
    ReportedFailure(ResetToDefaults(catalogue_.tree, store_, engine_),
                    tr("Cvarden could not reset the option values."));
    editors_->ShowDefault();
    marks_->Refresh();
}

void MainWindow::ReportStoreProblem(const QString &reason)
{
    // Once a run is enough: the same failure would otherwise come back at
    // every key the player types.
    if (storeProblemShown_)
        return;
    storeProblemShown_ = true;
    ShowNotice(this, QMessageBox::Warning,
               tr("Cvarden cannot save your option values, so changes will be lost when it closes."), reason);
}

} // namespace cvarden
