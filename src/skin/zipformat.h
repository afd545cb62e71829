#pragma once

#include <QtGlobal>

// The numbers of the zip format that its reader and writer share.
namespace ZipFormat {

const quint32 kLocalSignature = 0x04034b50;
const quint32 kCentralSignature = 0x02014b50;
const quint32 kEndSignature = 0x06054b50;
const quint32 kEnd64Signature = 0x06064b50;
const quint32 kLocator64Signature = 0x07064b50;
const quint16 kZip64Extra = 0x0001;
const quint16 kUtf8Flag = 0x0800;
const quint16 kStored = 0;
const quint16 kDeflated = 8;

} // namespace ZipFormat
