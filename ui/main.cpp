#include "ui/veltra_app.h"

int main(int argc, char** argv)
{
    return veltra::theApp.Run(argc, argv);
}
