#include "app/Forms.h"

TFormMainWindow* FormMainWindow = nullptr;
TOSDialog* OSDialog = nullptr;
TFormAbout* FormAbout = nullptr;
