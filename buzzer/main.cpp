// A contestant's buzzer: a full-screen backdrop, one small window on top with
// the buzz button, and a connection to the console.
#include "buzzer_program.h"

#include "application.h"
#include "program_services.h"

int main(int argc, char** argv)
{
    ui::Application app(argc, argv);
    BuzzerProgram program({ui::programFolder(), wire::kPort});
    program.start();
    return app.exec();
}
