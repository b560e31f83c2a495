#pragma once

#include <QByteArray>

/// The "cpu MHz" value of the first processor in the text of /proc/cpuinfo, rounded to whole
/// MHz; 0 when the first processor's entry has no such line or it is not a positive number.
int processorMHzFromCpuInfo(const QByteArray& cpuInfo);
