// The host's console: one window, listening for buzzers on port 6767.
#include "application.h"
#include "console_app.h"

int main(int argc, char** argv)
{
    ui::Application app(argc, argv);
    console::Console console(wire::kPort);
    console.start();
    return app.exec();
}
