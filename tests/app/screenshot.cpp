// Renders Tonvale's window beside the sample sheet in the built-in word processor to one image:
//   tonvale_screenshot docs/screenshot.png
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/documentwindow.h"
#include "app/frmmain.h"
#include "app/hostchoice.h"
#include "app/htmlsheet.h"
#include "app/program.h"
#include "prefs/preferences.h"
#include "word/builtin/host.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

#include <iostream>
#include <map>

namespace
{

class NoStore : public prefs::SettingsStore
{
public:
    std::string get(const std::string &) override
    {
        return {};
    }
    void set(const std::string &, const std::string &) override
    {
    }
};

class SilentPrompter : public word::Prompter
{
public:
    word::Answer show(const word::Message &message) override
    {
        std::cerr << message.title << ": " << message.text << '\n';
        return word::Answer::No;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    app::initResources();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshot.png");

    app::BuiltinInstance builtin;
    QString error;
    auto sheet = app::loadSheet(QStringLiteral(TONVALE_SOURCE_DIR "/samples/amazing-grace.html"), &error);
    if (!sheet) {
        std::cerr << error.toStdString() << '\n';
        return 1;
    }
    builtin.running = std::make_shared<word::builtin::Host>();
    builtin.running->open(std::move(*sheet), "amazing-grace.html");

    NoStore store;
    SilentPrompter prompter;
    app::frmMain form(prompter, store);
    if (!form.Form_Load(app::builtinHostKind(builtin))) {
        return 1;
    }
    // A typical set-up: bold dark red chords, from G up to A with sharps.
    form.Check3->setChecked(true);
    form.Check1->setChecked(true);
    form.Text1->setText(QStringLiteral("139"));
    form.Text2->setText(QStringLiteral("0"));
    form.Text3->setText(QStringLiteral("0"));
    form.Option1->setChecked(true);
    form.Combo1->setCurrentIndex(10);
    form.Combo2->setCurrentIndex(0);
    app::DocumentWindow face(builtin.running);
    face.resize(560, form.height());
    form.show();
    face.show();
    QApplication::processEvents();

    const QPixmap left = form.grab();
    const QPixmap right = face.grab();
    QPixmap image(left.width() + 12 + right.width(), std::max(left.height(), right.height()));
    image.fill(QColor(0xE8, 0xEC, 0xF2));
    QPainter painter(&image);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(left.width() + 12, 0, right);
    painter.end();
    if (!image.save(out)) {
        std::cerr << "cannot write " << out.toStdString() << '\n';
        return 1;
    }
    return 0;
}
