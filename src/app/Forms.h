#pragma once
// The program's three forms, created once at start in this order and living
// until the program ends.
class TFormMainWindow;
class TOSDialog;
class TFormAbout;

extern TFormMainWindow* FormMainWindow;
extern TOSDialog* OSDialog;
extern TFormAbout* FormAbout;
