#include "main_form.h"

#include "buzzer_icon.h"
#include "texts.h"

#include "button.h"
#include "client_endpoint.h"
#include "edit_box.h"
#include "form_name.h"
#include "geometry.h"
#include "label.h"
#include "timer.h"

#include <QIcon>
#include <QPixmap>

MainForm::MainForm()
    : ui::Window("主窗口", Frame::Fixed, 480, 235)
{
    setTitle(buzzer_text::kFormTitle);
    setWindowIcon(QIcon(QPixmap::fromImage(buzzerIcon(64))));
    centreOnScreen();
    setAlwaysOnTop(true);

    keepOnTopTimer = new ui::Timer("时钟1", kKeepOnTopPeriod, this);

    addressCaption = new ui::Label("标签3", "服务器IP地址:", this);
    ui::place(addressCaption, 18, 172, 80, 24);

    addressBox = new ui::EditBox(ui::EditBox::Lines::Single, "编辑框2", this);
    addressBox->setText("127.0.0.1");
    ui::place(addressBox, 111, 171, 153, 24);

    noticeLabel = new ui::Label("标签2", "", this);
    noticeLabel->setWordWrap(true);   // drawn from the top, breaking at CR LF too
    ui::place(noticeLabel, 292, 18, 164, 142);

    nameCaption = new ui::Label("标签1", "选手姓名", this);
    ui::place(nameCaption, 15, 13, 56, 24);

    nameBox = new ui::EditBox(ui::EditBox::Lines::Single, "编辑框1", this);
    nameBox->setText("选手01");
    ui::place(nameBox, 72, 15, 112, 23);

    client = new ClientEndpoint(this);
    ui::setFormName(client, "客户1");

    buzzButton = new ui::Button("按钮2", "抢答(回车)", this);
    buzzButton->setDefaultPush(true);
    buzzButton->setDisabledState(true);
    ui::place(buzzButton, 15, 50, 265, 110);

    connectButton = new ui::Button("按钮1", "连接服务器", this);
    ui::place(connectButton, 197, 10, 80, 32);

    setEnterClicksDefault(true);
}
