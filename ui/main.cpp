#include "ui/framework/program_arguments.h"
#include "ui/veltra_app.h"

int main(int argc, char** argv)
{
    veltra::ProgramArguments arguments(argc, argv);
    return veltra::theApp.Run(arguments.argc(), arguments.argv());
}
