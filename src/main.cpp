#include "ui/app.h"

int main(int argc, char** argv) { return morvath::ui::RunApplication(argc, argv); }
