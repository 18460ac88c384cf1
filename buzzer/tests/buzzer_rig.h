// One buzzer program inside a test: a manual clock for 时钟1, message boxes
// answered by script, beeps and program ends recorded instead of done, and a
// scratch program folder for ip.txt and back.jpg.
#pragma once

#include "buzzer_program.h"
#include "stand_in_console.h"

#include "button.h"
#include "client_endpoint.h"
#include "edit_box.h"
#include "form_name.h"
#include "label.h"
#include "manual_clock.h"
#include "message_box.h"
#include "program_services.h"
#include "timer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class BuzzerRig
{
public:
    struct Box {
        ui::BoxRequest request;
        bool onTop = true;       // the main window's always on top while it was open
        int timerPeriod = -1;    // 时钟1's period while it was open
    };

    explicit BuzzerRig(int port = 1)
    {
        ui::installBoxAnswerer([this](const ui::BoxRequest& r) { return answer(r); });
        ui::installBeeper([this] {
            beepsOnTop.push_back(program_ ? program_->mainForm().alwaysOnTop() : true);
        });
        ui::installProgramEnder([this](int code) { exitCodes.push_back(code); });
        settings_.folder = dir_.path().toStdString();
        settings_.port = port;
    }
    ~BuzzerRig()
    {
        program_.reset();
        ui::installBoxAnswerer({});
        ui::installBeeper({});
        ui::installProgramEnder({});
    }

    // Files of the program folder; call before start().
    void writeFile(const char* name, const std::string& bytes)
    {
        QFile f(dir_.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    BuzzerProgram& start()
    {
        program_ = std::make_unique<BuzzerProgram>(settings_);
        program_->start();
        return *program_;
    }

    MainForm& main() { return program_->mainForm(); }
    BackdropForm& backdrop() { return program_->backdropForm(); }

    // Controls found the way a form names them.
    template <class T>
    T* control(const char* formName) { return main().findChild<T*>(ui::formName(formName)); }
    ui::Button* buzzButton() { return control<ui::Button>("按钮2"); }
    ui::Button* connectButton() { return control<ui::Button>("按钮1"); }
    ui::EditBox* nameBox() { return control<ui::EditBox>("编辑框1"); }
    ui::EditBox* addressBox() { return control<ui::EditBox>("编辑框2"); }
    ui::Label* noticeLabel() { return control<ui::Label>("标签2"); }
    ui::Timer* timer() { return control<ui::Timer>("时钟1"); }
    ClientEndpoint* client() { return control<ClientEndpoint>("客户1"); }

    ui::ManualClock clock;   // before the program, so 时钟1 ticks on it
    std::deque<int> answers;   // the next boxes' answers; empty: OK, or No for Yes/No
    std::vector<Box> boxes;
    std::vector<bool> beepsOnTop;   // one entry per beep
    std::vector<int> exitCodes;

private:
    int answer(const ui::BoxRequest& r)
    {
        Box box{r, true, -1};
        if (program_) {
            box.onTop = main().alwaysOnTop();
            box.timerPeriod = main().keepOnTopTimer->period();
        }
        boxes.push_back(box);
        if (!answers.empty()) {
            const int a = answers.front();
            answers.pop_front();
            return a;
        }
        return (r.flags & 7) == ui::kYesNo ? ui::kNo : ui::kOk;
    }

    QTemporaryDir dir_;
    BuzzerSettings settings_;
    std::unique_ptr<BuzzerProgram> program_;
};

// A buzzer connected to a stand-in console that has taken the connection and
// read the name report.
inline void connectRig(BuzzerRig& rig, StandInConsole& console)
{
    rig.addressBox()->setText("127.0.0.1");
    rig.connectButton()->click();
    QVERIFY(console.accept());
    const std::string report = "XS" + rig.nameBox()->text();
    QCOMPARE(console.receive(report.size()), report);
}
