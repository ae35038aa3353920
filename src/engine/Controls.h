#pragma once

namespace cxb {

// The controls of the main window that the engine changes, named as in the
// window (the window gives its widgets the same object names).
enum class Ctl {
    // panels
    pnl1, pnl2, Panel2, souPNL, pnlIE,
    // question view
    Memo1, Label2, Label3, Label4, Label5, Label6, Label7, Image2, ScrollBox2,
    PaSuanZe, PaPanDuan, pnlduanxuan, CheckBox1, CheckBox2,
    Image1, Image3, img3, img4, Image4, Image5,
    chkA, chkB, chkC, chkD, chkE, chkF, chkG, chkH, btnxingbiao,
    // status, exam, result
    lbljiazai, lbl1, JIAOJUAN, LabelMessage, btn3, lbltongguo,
    // review and search
    btn4, lbl3, mmo1, img1, lv1, lv2, edtchazhao,
    // bank maker, window
    img2, lbltikuzhuozhe, lblguanyu, BitBtn9, chkshengyintexiao,
    // picture buttons of the tool strip
    ima_sunxu, Imchuji, Ima_nanti, Ima_kaoshi, Ima_cuowuji, Ima_tiku, img_lishi, img_shezhi, imgzhuozhe, img5,
};

enum class Tmr { TimerNext, tmrmouse, tmrjiange, tmrKAOSHI, tmruptime, INIT2, tmrtimpifu };

// Which answer controls a question shows.
enum class AnswerPanel { None, Single, TrueFalse, Multi };

} // namespace cxb
