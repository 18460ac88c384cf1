#include "connection.h"

#include "main_form.h"

#include "button.h"
#include "client_endpoint.h"
#include "edit_box.h"
#include "message_box.h"
#include "program_services.h"
#include "wire.h"

namespace connection {

namespace {

bool isRefusedName(const text::Text& name)
{
    return text::equals(name, "") || text::equals(name, "Tovin01");
}

}  // namespace

void connectAndRegister(MainForm& main, int port)
{
    if (isRefusedName(main.nameBox->text())) {
        main.setAlwaysOnTop(false);
        ui::messageBox("请输入你自己的名字和序号", ui::kOkOnly + ui::kIconInformation, "提示:");
        main.setAlwaysOnTop(true);
        return;
    }
    // Let the window repaint before Connect holds the thread.
    ui::processPendingEvents();
    const text::Text host = text::trimSpaces(main.addressBox->text());
    if (!main.client->Connect(host, port)) {
        main.setTitle("连接服务器失败!");
        return;
    }
    ui::processPendingEvents();
    // Appended to whatever the title holds now, so it grows with each success.
    main.setTitle(text::join({main.title(), "  ", main.addressBox->text()}));
    main.client->SendData(wire::compose(wire::kNameReport, main.nameBox->text()));
    main.buzzButton->setDisabledState(false);
    main.connectButton->setDisabledState(true);
}

void connectionLost(MainForm& main)
{
    main.setTitle("连接断开,点击重连!");
    main.connectButton->setDisabledState(false);
}

}  // namespace connection
