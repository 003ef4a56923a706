#include "app/TForm1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ballvane::TForm1 form;
    form.show();
    return application.exec();
}
