#ifndef IMPORTTYPES_H
#define IMPORTTYPES_H

#include <QString>
#include <QStringList>

class ImportOrderModel;

// What each import type of the batch import (importOrdersPhotoDlg::
// ImportTypeEnum, 0 originals ... 5 Lyra folder) means outside the window's
// widgets: its texts, the order sub-folder it fills, and what an order must
// have chosen for it.

bool isPhotoType(int type);
bool isVideoType(int type);

// The type's radio text ("导入原片" ...) and the info panel's mode title.
QString importTypeText(int type);
QString importModeTitle(int type);
// Caption of an order row's select button.
QString selectButtonText(int type);
// Caption of the video-list button, shown for the two video types only
// (empty for the others).
QString videoButtonText(int type);

// The sub-folder of an order folder that receives a type's files ("照片/",
// "成品/", "设计/", "试拍视频/", "精修视频/"); empty for the Lyra type.
QString importTypeFolder(int type);

// The refusal for an order without files or folder chosen for the type, or
// an empty text.
QString missingSelectionText(const ImportOrderModel* order, int type);

// The refusal for files just chosen for a type, or an empty text: more than
// the worker can count, or a video whose name holds the "|" that joins the
// names in the video reports (no such name exists on the studio's Windows
// file server).
QString selectionRefusal(const QStringList& files, int type);

// Puts an order back to the state before its first photo import: no folders,
// and for the three photo types no selection, counts or imported flag.
void resetImportState(ImportOrderModel* order);

#endif
