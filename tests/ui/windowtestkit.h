// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Builds the main window on a temporary catalogue and a temporary settings
// store, and drives its real widgets as a player would.

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "mainwindow.h"
#include "settingsstore.h"

namespace testkit {

// The sample catalogue: folders Display and Sound; Brightness (VALUE, default
// 1.0), Full screen (CHECK, default 1), Mixing rate (COMBO 11/22/44, default 22).
inline QStringList sampleCatalogue()
{
    return {"Display", "Sound", "---",
            "Display", "Brightness", "Screen brightness, 1.0 is normal.", "vid_bright", "x", "VALUE", "1.0",
            "Display", "Full screen", "Run in a full screen.", "vid_full", "x", "CHECK", "x", "1",
            "Sound", "Mixing rate", "Sound mixing rate in kHz.", "snd_rate", "x", "COMBO", "ENTRIES", "3",
            "11", "22", "44", "x", "22"};
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file %s", qPrintable(path));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every save the window makes, in order, passed on to a real settings store.
class RecordingStore : public cvarden::ValueStore {
public:
    explicit RecordingStore(const QString &iniPath) : store(iniPath) {}

    std::string Get(const std::string &name, const std::string &fallback) const override
    {
        return store.Get(name, fallback);
    }
    cvarden::Outcome Save(const std::string &name, const std::string &value) override
    {
        saves.append(QString::fromStdString(name + "=" + value));
        return store.Save(name, value);
    }
    cvarden::Outcome reload() override { return store.reload(); }
    std::string GetChoice(const std::string &name, const std::string &fallback) const override
    {
        return store.GetChoice(name, fallback);
    }
    cvarden::Outcome SaveChoice(const std::string &name, const std::string &value) override
    {
        return store.SaveChoice(name, value);
    }
    void beginBatch() override { store.beginBatch(); }
    cvarden::Outcome endBatch() override { return store.endBatch(); }

    cvarden::SettingsStore store;
    QStringList saves;
};

class WindowFixture {
public:
    explicit WindowFixture(const QStringList &catalogueLines = sampleCatalogue())
    {
        writeFile(cataloguePath(), catalogueLines.join("\r\n").toLatin1() + "\r\n");
        openWindow();
    }

    QString cataloguePath() const { return dir.filePath("options.dat"); }
    QString storePath() const { return dir.filePath("Cvarden.ini"); }
    QString path(const QString &name) const { return dir.filePath(name); }

    void openWindow()
    {
        window.reset();
        store = std::make_unique<RecordingStore>(storePath());
        window = std::make_unique<cvarden::MainWindow>(cataloguePath(), *store);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window was not shown");
    }

    template <class Control> Control *control(const char *name) const
    {
        auto *found = window->findChild<Control *>(QString::fromLatin1(name));
        if (!found)
            qFatal("the window has no control %s", name);
        return found;
    }

    QString stored(const char *name, const char *fallback = "<none>") const
    {
        return QString::fromStdString(store->Get(name, fallback));
    }

    // Clicks the node with this text; `which` picks among nodes of one text.
    void select(const QString &text, int which = 0)
    {
        auto *tree = control<QTreeWidget>("optiontree");
        const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.size() <= which)
            qFatal("the tree has no node %s", qPrintable(text));
        QTreeWidgetItem *item = found.at(which);
        if (item->parent())
            item->parent()->setExpanded(true);
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }

    void click(const char *buttonName) { QTest::mouseClick(control<QPushButton>(buttonName), Qt::LeftButton); }

    QTemporaryDir dir;
    std::unique_ptr<RecordingStore> store;
    std::unique_ptr<cvarden::MainWindow> window;
};

// Runs `act` on the next modal window once it is up, from inside the event
// loop of whatever shows it. A window that `act` leaves open is rejected, so a
// failing test never hangs.
inline void whenModalOpens(std::function<void(QWidget *)> act, int triesLeft = 3000)
{
    QTimer::singleShot(10, [act, triesLeft] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            if (triesLeft > 0)
                whenModalOpens(act, triesLeft - 1);
            return;
        }
        act(modal);
        if (modal->isVisible())
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
    });
}

// Types the path into the file dialog and presses its Open or Save button.
inline void typeIntoFileDialog(QWidget *modal, const QString &path)
{
    auto *dialog = qobject_cast<QFileDialog *>(modal);
    if (!dialog)
        return;
    auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
    // The dialog lists its folder in a thread of its own and, when the list
    // arrives, selects the file it was given, which replaces the name field.
    // So the path is typed again until it has stood for a while.
    for (int stable = 0, tries = 0; stable < 5 && tries < 200; ++tries) {
        if (name->text() != path) {
            name->clear();
            QTest::keyClicks(name, path);
            stable = 0;
        } else {
            ++stable;
        }
        QTest::qWait(10);
    }
    auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
    const auto accept =
        dialog->acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open : QDialogButtonBox::Save;
    QTest::mouseClick(buttons->button(accept), Qt::LeftButton);
}

// The text of the message box now open over the window, which it closes;
// the empty text when none is open.
inline QString takeNotice(QString *reason = nullptr)
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return {};
    const QString text = box->text();
    if (reason)
        *reason = box->informativeText();
    box->close();
    QCoreApplication::processEvents();
    return text;
}

// While it lives, answers the windows that Save opens: types the file into
// the file dialog, and notes the question it asks (about the running game,
// about the files the game runs later) and clicks the answer. The notice
// after a save stays open for the test to read.
class SaveAnswers {
public:
    SaveAnswers(QString file, QString answer) : file_(std::move(file)), answer_(std::move(answer))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Answer(); });
        poll_.start(10);
    }

    QString question;

private:
    void Answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (qobject_cast<QFileDialog *>(modal) && !typing_) {
            typing_ = true;
            testkit::typeIntoFileDialog(modal, file_);
            typing_ = false;
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box || !question.isEmpty() || box->text().startsWith("Settings saved"))
            return;
        question = box->text() + "\n" + box->informativeText();
        for (QAbstractButton *button : box->buttons())
            if (button->text() == answer_)
                button->click();
        if (box->isVisible()) // an answer it does not offer: the test fails, but goes on
            box->close();
    }

    QString file_;
    QString answer_;
    QTimer poll_;
    bool typing_ = false; // typing waits in event loops, where the timer runs again
};

} // namespace testkit
