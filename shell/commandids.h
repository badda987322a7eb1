#pragma once

// Command ids of the menus, the accelerator table and the toolbar. The view's own commands
// (32771 ...) are in view/CRKeditView.h.
enum AppCommand : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT = 57607,
    ID_FILE_MRU_FILE1 = 57616, // recent files: 57616 .. 57619 for the four entries
    ID_EDIT_CLEAR = 57632,     // 削除: empties the selected cells
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_EDIT_SELECT_ALL = 57642,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_DIALOG_ON = 32774,
    ID_DIALOG_OFF = 32775,
    ID_ITEM_TOOL = 32778,
    ID_TEST_PLAY = 32800, // the stage played in the browser (F5)
    // The selection and the cells (a stage window's):
    ID_EDIT_PASTE_IN_PLACE = 32810, // 同じ位置に貼り付け
    ID_EDIT_DESELECT = 32811,       // 選択の解除
    ID_EDIT_PASTE_EMPTY = 32812,    // 空のセルも貼り付ける (a check item)
    ID_TRANSFORM_FLIP_H = 32813,    // 変形: 左右反転 ... the four shifts
    ID_TRANSFORM_FLIP_V = 32814,
    ID_TRANSFORM_ROTATE_180 = 32815,
    ID_TRANSFORM_SHIFT_LEFT = 32816,
    ID_TRANSFORM_SHIFT_RIGHT = 32817,
    ID_TRANSFORM_SHIFT_UP = 32818,
    ID_TRANSFORM_SHIFT_DOWN = 32819,
    ID_WINDOW_TABBED = 32820, // タブで表示: the stage windows as tabs (a check item)
};
