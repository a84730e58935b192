// The Windows Media Player control's interfaces, declared here because not
// every toolchain ships wmp.h. Every slot follows the real vtables in order;
// the interfaces the layer never uses stay incomplete types.
#pragma once

#include <windows.h>

#include <oaidl.h>

struct IWMPMedia;
struct IWMPMediaCollection;
struct IWMPPlaylistCollection;
struct IWMPNetwork;
struct IWMPPlaylist;
struct IWMPCdromCollection;
struct IWMPClosedCaption;
struct IWMPError;

// WMPOpenState and WMPPlayState are 32-bit enumerations.
using WMPOpenState = LONG;
using WMPPlayState = LONG;

// {6BF52A52-394A-11D3-B153-00C04F79FAA6}
constexpr CLSID CLSID_WindowsMediaPlayer = {0x6BF52A52, 0x394A, 0x11D3,
                                            {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
// {6BF52A4F-394A-11D3-B153-00C04F79FAA6}
constexpr IID IID_IWMPPlayer = {0x6BF52A4F, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
// {9104D1AB-80C9-4FED-ABF0-2E6417A6DF14}
constexpr IID IID_IWMPSettings = {0x9104D1AB, 0x80C9, 0x4FED, {0xAB, 0xF0, 0x2E, 0x64, 0x17, 0xA6, 0xDF, 0x14}};
// {74C09E02-F828-11D2-A74B-00A0C905F36E}
constexpr IID IID_IWMPControls = {0x74C09E02, 0xF828, 0x11D2, {0xA7, 0x4B, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x6E}};

MIDL_INTERFACE("74C09E02-F828-11D2-A74B-00A0C905F36E")
IWMPControls : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_isAvailable(BSTR item, VARIANT_BOOL* available) = 0;
    virtual HRESULT STDMETHODCALLTYPE play() = 0;
    virtual HRESULT STDMETHODCALLTYPE stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE pause() = 0;
    virtual HRESULT STDMETHODCALLTYPE fastForward() = 0;
    virtual HRESULT STDMETHODCALLTYPE fastReverse() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentPosition(double* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentPosition(double position) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentPositionString(BSTR* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE next() = 0;
    virtual HRESULT STDMETHODCALLTYPE previous() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentItem(IWMPMedia** item) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentItem(IWMPMedia* item) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentMarker(LONG* marker) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentMarker(LONG marker) = 0;
    virtual HRESULT STDMETHODCALLTYPE playItem(IWMPMedia* item) = 0;
};

MIDL_INTERFACE("9104D1AB-80C9-4FED-ABF0-2E6417A6DF14")
IWMPSettings : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_isAvailable(BSTR item, VARIANT_BOOL* available) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_autoStart(VARIANT_BOOL* auto_start) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_autoStart(VARIANT_BOOL auto_start) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_baseURL(BSTR* url) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_baseURL(BSTR url) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_defaultFrame(BSTR* frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_defaultFrame(BSTR frame) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_invokeURLs(VARIANT_BOOL* invoke) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_invokeURLs(VARIANT_BOOL invoke) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_mute(VARIANT_BOOL* mute) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_mute(VARIANT_BOOL mute) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_playCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_playCount(LONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_rate(double* rate) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_rate(double rate) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_balance(LONG* balance) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_balance(LONG balance) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_volume(LONG* volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_volume(LONG volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE getMode(BSTR mode, VARIANT_BOOL* on) = 0;
    virtual HRESULT STDMETHODCALLTYPE setMode(BSTR mode, VARIANT_BOOL on) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_enableErrorDialogs(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_enableErrorDialogs(VARIANT_BOOL enabled) = 0;
};

MIDL_INTERFACE("D84CCA99-CCE2-11D2-9ECC-0000F8085981")
IWMPCore : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE close() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_URL(BSTR* url) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_URL(BSTR url) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_openState(WMPOpenState* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_playState(WMPPlayState* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_controls(IWMPControls** controls) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_settings(IWMPSettings** settings) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentMedia(IWMPMedia** media) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentMedia(IWMPMedia* media) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_mediaCollection(IWMPMediaCollection** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_playlistCollection(IWMPPlaylistCollection** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_versionInfo(BSTR* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE launchURL(BSTR url) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_network(IWMPNetwork** network) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentPlaylist(IWMPPlaylist** playlist) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentPlaylist(IWMPPlaylist* playlist) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_cdromCollection(IWMPCdromCollection** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_closedCaption(IWMPClosedCaption** caption) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_isOnline(VARIANT_BOOL* online) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_error(IWMPError** error) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_status(BSTR* status) = 0;
};

MIDL_INTERFACE("6BF52A4F-394A-11D3-B153-00C04F79FAA6")
IWMPPlayer : public IWMPCore {
    virtual HRESULT STDMETHODCALLTYPE get_enabled(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_enabled(VARIANT_BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_fullScreen(VARIANT_BOOL* full_screen) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_fullScreen(VARIANT_BOOL full_screen) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_enableContextMenu(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_enableContextMenu(VARIANT_BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_uiMode(BSTR mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_uiMode(BSTR* mode) = 0;
};
