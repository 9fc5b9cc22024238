#pragma once
// "Vantor Help": the editor's help page, shipped with the program.

class QWidget;

// Shows the help window of parent, creating it the first time; parent owns it.
void ShowVantorHelp(QWidget &parent);
