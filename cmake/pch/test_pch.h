// Precompiled header of the test programs: GoogleTest and the common Qt headers.
#pragma once
#include "qt_pch.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
