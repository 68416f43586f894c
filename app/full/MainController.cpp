#include "app/full/MainController.h"

MainController::MainController(QObject* parent) : QObject(parent) {}
