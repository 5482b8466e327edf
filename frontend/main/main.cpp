// RTKelvane: exchanges data files with the hand-held terminal.

#include <QApplication>

#include "StartMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  return StartMain::Main(app);
}
