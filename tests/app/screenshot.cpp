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
#include <QPainter>

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
    app::frmMain window(prompter, store);
    form::frmMain &form = window.logic();
    if (!form.Form_Load(app::builtinHostKind(builtin))) {
        return 1;
    }
    // A typical set-up: bold dark red chords, from G up to A with sharps.
    form.setValue(form::Control::Check3, 1);
    form.setValue(form::Control::Check1, 1);
    window.setText(form::Control::Text1, "139");
    window.setText(form::Control::Text2, "0");
    window.setText(form::Control::Text3, "0");
    form.setValue(form::Control::Option1, 1);
    form.setListIndex(form::Control::Combo1, 10);
    form.setListIndex(form::Control::Combo2, 0);
    app::DocumentWindow face(builtin.running);
    face.resize(560, window.height());
    window.show();
    face.show();
    QApplication::processEvents();

    const QPixmap left = window.grab();
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
