#pragma once
// The Qt and standard headers most of the program's sources include, compiled once per
// target: parsing them again for every source file took about half of the build.
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>
