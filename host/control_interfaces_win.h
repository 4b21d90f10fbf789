// The automation and event interfaces of the Flash and Shockwave controls, declared slot by
// slot (slots count from 0 at QueryInterface; IDispatch takes 3 to 6). Every slot is
// STDMETHODCALLTYPE: in the 32-bit build a missing calling convention corrupts the stack.
// The web browser's interfaces come from exdisp.h.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <exdisp.h>
#include <exdispid.h>

extern const IID IID_IShockwaveFlash;         // {D27CDB6C-AE6D-11CF-96B8-444553540000}
extern const IID DIID__IShockwaveFlashEvents; // {D27CDB6D-AE6D-11CF-96B8-444553540000}
extern const IID IID_IShockwaveCtl;           // {166B1BC8-3F9C-11CF-8075-444553540000}
extern const IID DIID__ShockwaveEvents;       // {166B1BC9-3F9C-11CF-8075-444553540000}

// Dispatch identifiers of the events that close a game.
constexpr DISPID kDispIdFlashFsCommand = 150;
constexpr DISPID kDispIdShockwaveClose = 1;

// The Flash control, up to GetVariable (slot 66).
struct IShockwaveFlash : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_ReadyState(long* state) = 0;        // 7
    virtual HRESULT STDMETHODCALLTYPE get_TotalFrames(long* frames) = 0;      // 8
    virtual HRESULT STDMETHODCALLTYPE get_Playing(VARIANT_BOOL* playing) = 0; // 9
    virtual HRESULT STDMETHODCALLTYPE put_Playing(VARIANT_BOOL playing) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE get_Quality(int* quality) = 0;          // 11
    virtual HRESULT STDMETHODCALLTYPE put_Quality(int quality) = 0;           // 12
    virtual HRESULT STDMETHODCALLTYPE get_ScaleMode(int* mode) = 0;           // 13
    virtual HRESULT STDMETHODCALLTYPE put_ScaleMode(int mode) = 0;            // 14
    virtual HRESULT STDMETHODCALLTYPE get_AlignMode(int* mode) = 0;           // 15
    virtual HRESULT STDMETHODCALLTYPE put_AlignMode(int mode) = 0;            // 16
    virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(long* color) = 0;   // 17
    virtual HRESULT STDMETHODCALLTYPE put_BackgroundColor(long color) = 0;    // 18
    virtual HRESULT STDMETHODCALLTYPE get_Loop(VARIANT_BOOL* loop) = 0;       // 19
    virtual HRESULT STDMETHODCALLTYPE put_Loop(VARIANT_BOOL loop) = 0;        // 20
    virtual HRESULT STDMETHODCALLTYPE get_Movie(BSTR* movie) = 0;             // 21
    virtual HRESULT STDMETHODCALLTYPE put_Movie(BSTR movie) = 0;              // 22
    virtual HRESULT STDMETHODCALLTYPE get_FrameNum(long* frame) = 0;          // 23
    virtual HRESULT STDMETHODCALLTYPE put_FrameNum(long frame) = 0;           // 24
    virtual HRESULT STDMETHODCALLTYPE SetZoomRect(long left, long top, long right,
                                                  long bottom) = 0;                      // 25
    virtual HRESULT STDMETHODCALLTYPE Zoom(int factor) = 0;                              // 26
    virtual HRESULT STDMETHODCALLTYPE Pan(long x, long y, int mode) = 0;                 // 27
    virtual HRESULT STDMETHODCALLTYPE Play() = 0;                                        // 28
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;                                        // 29
    virtual HRESULT STDMETHODCALLTYPE Back() = 0;                                        // 30
    virtual HRESULT STDMETHODCALLTYPE Forward() = 0;                                     // 31
    virtual HRESULT STDMETHODCALLTYPE Rewind() = 0;                                      // 32
    virtual HRESULT STDMETHODCALLTYPE StopPlay() = 0;                                    // 33
    virtual HRESULT STDMETHODCALLTYPE GotoFrame(long frame) = 0;                         // 34
    virtual HRESULT STDMETHODCALLTYPE CurrentFrame(long* frame) = 0;                     // 35
    virtual HRESULT STDMETHODCALLTYPE IsPlaying(VARIANT_BOOL* playing) = 0;              // 36
    virtual HRESULT STDMETHODCALLTYPE PercentLoaded(long* percent) = 0;                  // 37
    virtual HRESULT STDMETHODCALLTYPE FrameLoaded(long frame, VARIANT_BOOL* loaded) = 0; // 38
    virtual HRESULT STDMETHODCALLTYPE FlashVersion(long* version) = 0;                   // 39
    virtual HRESULT STDMETHODCALLTYPE get_WMode(BSTR* mode) = 0;                         // 40
    virtual HRESULT STDMETHODCALLTYPE put_WMode(BSTR mode) = 0;                          // 41
    virtual HRESULT STDMETHODCALLTYPE get_SAlign(BSTR* align) = 0;                       // 42
    virtual HRESULT STDMETHODCALLTYPE put_SAlign(BSTR align) = 0;                        // 43
    virtual HRESULT STDMETHODCALLTYPE get_Menu(VARIANT_BOOL* menu) = 0;                  // 44
    virtual HRESULT STDMETHODCALLTYPE put_Menu(VARIANT_BOOL menu) = 0;                   // 45
    virtual HRESULT STDMETHODCALLTYPE get_Base(BSTR* base) = 0;                          // 46
    virtual HRESULT STDMETHODCALLTYPE put_Base(BSTR base) = 0;                           // 47
    virtual HRESULT STDMETHODCALLTYPE get_Scale(BSTR* scale) = 0;                        // 48
    virtual HRESULT STDMETHODCALLTYPE put_Scale(BSTR scale) = 0;                         // 49
    virtual HRESULT STDMETHODCALLTYPE get_DeviceFont(VARIANT_BOOL* font) = 0;            // 50
    virtual HRESULT STDMETHODCALLTYPE put_DeviceFont(VARIANT_BOOL font) = 0;             // 51
    virtual HRESULT STDMETHODCALLTYPE get_EmbedMovie(VARIANT_BOOL* embed) = 0;           // 52
    virtual HRESULT STDMETHODCALLTYPE put_EmbedMovie(VARIANT_BOOL embed) = 0;            // 53
    virtual HRESULT STDMETHODCALLTYPE get_BGColor(BSTR* color) = 0;                      // 54
    virtual HRESULT STDMETHODCALLTYPE put_BGColor(BSTR color) = 0;                       // 55
    virtual HRESULT STDMETHODCALLTYPE get_Quality2(BSTR* quality) = 0;                   // 56
    virtual HRESULT STDMETHODCALLTYPE put_Quality2(BSTR quality) = 0;                    // 57
    virtual HRESULT STDMETHODCALLTYPE LoadMovie(int layer, BSTR url) = 0;                // 58
    virtual HRESULT STDMETHODCALLTYPE TGotoFrame(BSTR target, long frame) = 0;           // 59
    virtual HRESULT STDMETHODCALLTYPE TGotoLabel(BSTR target, BSTR label) = 0;           // 60
    virtual HRESULT STDMETHODCALLTYPE TCurrentFrame(BSTR target, long* frame) = 0;       // 61
    virtual HRESULT STDMETHODCALLTYPE TCurrentLabel(BSTR target, BSTR* label) = 0;       // 62
    virtual HRESULT STDMETHODCALLTYPE TPlay(BSTR target) = 0;                            // 63
    virtual HRESULT STDMETHODCALLTYPE TStopPlay(BSTR target) = 0;                        // 64
    virtual HRESULT STDMETHODCALLTYPE SetVariable(BSTR name, BSTR value) = 0;            // 65
    virtual HRESULT STDMETHODCALLTYPE GetVariable(BSTR name, BSTR* value) = 0;           // 66
};

// A slot of the Shockwave control that the program never calls; it only keeps the later
// slots in their places.
#define TOVAK_UNUSED_SLOT(n) virtual HRESULT STDMETHODCALLTYPE UnusedSlot##n() = 0

// The Shockwave control, slots 7 to 78. The movie source is slot 56; the nine string
// settings are slots 58, 60, 64, 66, 68, 70 (flags), 74 (stretch style), 76 and 78 (horizontal
// and vertical stretch alignment).
struct IShockwaveCtl : public IDispatch {
    TOVAK_UNUSED_SLOT(7);
    TOVAK_UNUSED_SLOT(8);
    TOVAK_UNUSED_SLOT(9);
    TOVAK_UNUSED_SLOT(10);
    TOVAK_UNUSED_SLOT(11);
    TOVAK_UNUSED_SLOT(12);
    TOVAK_UNUSED_SLOT(13);
    TOVAK_UNUSED_SLOT(14);
    TOVAK_UNUSED_SLOT(15);
    TOVAK_UNUSED_SLOT(16);
    TOVAK_UNUSED_SLOT(17);
    TOVAK_UNUSED_SLOT(18);
    TOVAK_UNUSED_SLOT(19);
    TOVAK_UNUSED_SLOT(20);
    TOVAK_UNUSED_SLOT(21);
    TOVAK_UNUSED_SLOT(22);
    TOVAK_UNUSED_SLOT(23);
    TOVAK_UNUSED_SLOT(24);
    TOVAK_UNUSED_SLOT(25);
    TOVAK_UNUSED_SLOT(26);
    TOVAK_UNUSED_SLOT(27);
    TOVAK_UNUSED_SLOT(28);
    TOVAK_UNUSED_SLOT(29);
    TOVAK_UNUSED_SLOT(30);
    TOVAK_UNUSED_SLOT(31);
    TOVAK_UNUSED_SLOT(32);
    TOVAK_UNUSED_SLOT(33);
    TOVAK_UNUSED_SLOT(34);
    TOVAK_UNUSED_SLOT(35);
    TOVAK_UNUSED_SLOT(36);
    TOVAK_UNUSED_SLOT(37);
    TOVAK_UNUSED_SLOT(38);
    TOVAK_UNUSED_SLOT(39);
    TOVAK_UNUSED_SLOT(40);
    TOVAK_UNUSED_SLOT(41);
    TOVAK_UNUSED_SLOT(42);
    TOVAK_UNUSED_SLOT(43);
    TOVAK_UNUSED_SLOT(44);
    TOVAK_UNUSED_SLOT(45);
    TOVAK_UNUSED_SLOT(46);
    TOVAK_UNUSED_SLOT(47);
    TOVAK_UNUSED_SLOT(48);
    TOVAK_UNUSED_SLOT(49);
    TOVAK_UNUSED_SLOT(50);
    TOVAK_UNUSED_SLOT(51);
    TOVAK_UNUSED_SLOT(52);
    TOVAK_UNUSED_SLOT(53);
    TOVAK_UNUSED_SLOT(54);
    TOVAK_UNUSED_SLOT(55);
    virtual HRESULT STDMETHODCALLTYPE put_SRC(BSTR source) = 0; // 56
    TOVAK_UNUSED_SLOT(57);
    virtual HRESULT STDMETHODCALLTYPE put_Setting58(BSTR value) = 0; // 58
    TOVAK_UNUSED_SLOT(59);
    virtual HRESULT STDMETHODCALLTYPE put_Setting60(BSTR value) = 0; // 60
    TOVAK_UNUSED_SLOT(61);
    TOVAK_UNUSED_SLOT(62);
    TOVAK_UNUSED_SLOT(63);
    virtual HRESULT STDMETHODCALLTYPE put_Setting64(BSTR value) = 0; // 64
    TOVAK_UNUSED_SLOT(65);
    virtual HRESULT STDMETHODCALLTYPE put_Setting66(BSTR value) = 0; // 66
    TOVAK_UNUSED_SLOT(67);
    virtual HRESULT STDMETHODCALLTYPE put_Setting68(BSTR value) = 0; // 68
    TOVAK_UNUSED_SLOT(69);
    virtual HRESULT STDMETHODCALLTYPE put_Setting70(BSTR value) = 0; // 70
    TOVAK_UNUSED_SLOT(71);
    TOVAK_UNUSED_SLOT(72);
    TOVAK_UNUSED_SLOT(73);
    virtual HRESULT STDMETHODCALLTYPE put_StretchStyle(BSTR value) = 0; // 74
    TOVAK_UNUSED_SLOT(75);
    virtual HRESULT STDMETHODCALLTYPE put_StretchHAlign(BSTR value) = 0; // 76
    TOVAK_UNUSED_SLOT(77);
    virtual HRESULT STDMETHODCALLTYPE put_StretchVAlign(BSTR value) = 0; // 78
};

#undef TOVAK_UNUSED_SLOT

// Sets the Shockwave string setting that lives in the given slot (one of the nine); E_INVALIDARG
// for any other slot.
HRESULT PutShockwaveSetting(IShockwaveCtl* control, int nSlot, BSTR value);
