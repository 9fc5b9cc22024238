#pragma once
// "Vantor Help": the editor's help page, shipped with the program.

class QWidget;

// Shows the help window, creating it the first time.
void ShowVantorHelp(QWidget *parent);
