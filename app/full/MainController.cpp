#include "MainController.h"

MainController::MainController(QObject* parent) : QObject(parent) {}
