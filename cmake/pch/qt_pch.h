// Precompiled header of our Qt libraries and programs: the standard and Qt Core headers
// that nearly every file includes, parsed once per target instead of once per file.
#pragma once
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
