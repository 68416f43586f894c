#include "app/updater/MainController.h"

MainController::MainController(QObject* parent) : QObject(parent) {}
