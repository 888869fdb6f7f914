#include "shell/ui/Application.h"
#include "shell/ui/Program.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    return RunProgram(app);
}
