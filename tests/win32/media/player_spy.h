// Takes the media player's class over while a test runs: CoCreateInstance of
// CLSID_WindowsMediaPlayer on this thread reaches the factory registered here,
// which hands out the real player (kept, so the test can read it back), a fake
// that logs every call the media layer makes, or nothing at all.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <string>
#include <vector>

#include "media/wmp_player.h"

namespace media_test {

inline std::string narrow(BSTR text) {
    char buffer[512] = "";
    if (text) WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

// The IUnknown and IDispatch part of a fake that lives as long as the test
// owning it: counts are kept for form, nothing is deleted, nothing dispatched.
template <typename Interface>
class DispatchStub : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, own_iid)
                      ? static_cast<Interface*>(this)
                      : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

protected:
    explicit DispatchStub(const IID& iid) : own_iid(iid) {}

private:
    const IID& own_iid;
};

struct CallLog {
    std::vector<std::string> calls;
    void add(const std::string& call) { calls.push_back(call); }
};

// Holds the file it plays open without sharing, as a real player does, until stopped.
class FakeControls : public DispatchStub<IWMPControls> {
public:
    FakeControls(CallLog& log, const std::string& url) : DispatchStub(IID_IWMPControls), log_(log), url_(url) {}
    FakeControls(const FakeControls&) = delete;
    FakeControls& operator=(const FakeControls&) = delete;
    ~FakeControls() { let_go(); }
    HRESULT STDMETHODCALLTYPE get_isAvailable(BSTR, VARIANT_BOOL*) override { return log("get_isAvailable"); }
    HRESULT STDMETHODCALLTYPE play() override {
        let_go();
        held_ = CreateFileA(url_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return log("play");
    }
    HRESULT STDMETHODCALLTYPE stop() override {
        let_go();
        return log("stop");
    }
    HRESULT STDMETHODCALLTYPE pause() override { return log("pause"); }
    HRESULT STDMETHODCALLTYPE fastForward() override { return log("fastForward"); }
    HRESULT STDMETHODCALLTYPE fastReverse() override { return log("fastReverse"); }
    HRESULT STDMETHODCALLTYPE get_currentPosition(double*) override { return log("get_currentPosition"); }
    HRESULT STDMETHODCALLTYPE put_currentPosition(double) override { return log("put_currentPosition"); }
    HRESULT STDMETHODCALLTYPE get_currentPositionString(BSTR*) override { return log("get_currentPositionString"); }
    HRESULT STDMETHODCALLTYPE next() override { return log("next"); }
    HRESULT STDMETHODCALLTYPE previous() override { return log("previous"); }
    HRESULT STDMETHODCALLTYPE get_currentItem(IWMPMedia**) override { return log("get_currentItem"); }
    HRESULT STDMETHODCALLTYPE put_currentItem(IWMPMedia*) override { return log("put_currentItem"); }
    HRESULT STDMETHODCALLTYPE get_currentMarker(LONG*) override { return log("get_currentMarker"); }
    HRESULT STDMETHODCALLTYPE put_currentMarker(LONG) override { return log("put_currentMarker"); }
    HRESULT STDMETHODCALLTYPE playItem(IWMPMedia*) override { return log("playItem"); }

private:
    HRESULT log(const char* call) {
        log_.add(call);
        return S_OK;
    }
    void let_go() {
        if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
        held_ = INVALID_HANDLE_VALUE;
    }
    CallLog& log_;
    const std::string& url_;
    HANDLE held_ = INVALID_HANDLE_VALUE;
};

// Answers get_controls with its FakeControls, or with none.
class FakePlayer : public DispatchStub<IWMPPlayer> {
public:
    FakePlayer(CallLog& log, bool with_controls)
        : DispatchStub(IID_IWMPPlayer), log_(log), controls_(log, url_), with_controls_(with_controls) {}
    HRESULT STDMETHODCALLTYPE close() override { return log("close"); }
    HRESULT STDMETHODCALLTYPE get_URL(BSTR*) override { return log("get_URL"); }
    HRESULT STDMETHODCALLTYPE put_URL(BSTR url) override {
        url_ = narrow(url);
        return log("put_URL " + url_);
    }
    HRESULT STDMETHODCALLTYPE get_openState(WMPOpenState*) override { return log("get_openState"); }
    HRESULT STDMETHODCALLTYPE get_playState(WMPPlayState*) override { return log("get_playState"); }
    HRESULT STDMETHODCALLTYPE get_controls(IWMPControls** controls) override {
        *controls = with_controls_ ? &controls_ : nullptr;
        return log("get_controls");
    }
    HRESULT STDMETHODCALLTYPE get_settings(IWMPSettings** settings) override {
        *settings = nullptr;
        log("get_settings");
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_currentMedia(IWMPMedia**) override { return log("get_currentMedia"); }
    HRESULT STDMETHODCALLTYPE put_currentMedia(IWMPMedia*) override { return log("put_currentMedia"); }
    HRESULT STDMETHODCALLTYPE get_mediaCollection(IWMPMediaCollection**) override { return log("get_mediaCollection"); }
    HRESULT STDMETHODCALLTYPE get_playlistCollection(IWMPPlaylistCollection**) override {
        return log("get_playlistCollection");
    }
    HRESULT STDMETHODCALLTYPE get_versionInfo(BSTR*) override { return log("get_versionInfo"); }
    HRESULT STDMETHODCALLTYPE launchURL(BSTR) override { return log("launchURL"); }
    HRESULT STDMETHODCALLTYPE get_network(IWMPNetwork**) override { return log("get_network"); }
    HRESULT STDMETHODCALLTYPE get_currentPlaylist(IWMPPlaylist**) override { return log("get_currentPlaylist"); }
    HRESULT STDMETHODCALLTYPE put_currentPlaylist(IWMPPlaylist*) override { return log("put_currentPlaylist"); }
    HRESULT STDMETHODCALLTYPE get_cdromCollection(IWMPCdromCollection**) override { return log("get_cdromCollection"); }
    HRESULT STDMETHODCALLTYPE get_closedCaption(IWMPClosedCaption**) override { return log("get_closedCaption"); }
    HRESULT STDMETHODCALLTYPE get_isOnline(VARIANT_BOOL*) override { return log("get_isOnline"); }
    HRESULT STDMETHODCALLTYPE get_error(IWMPError**) override { return log("get_error"); }
    HRESULT STDMETHODCALLTYPE get_status(BSTR*) override { return log("get_status"); }
    HRESULT STDMETHODCALLTYPE get_enabled(VARIANT_BOOL*) override { return log("get_enabled"); }
    HRESULT STDMETHODCALLTYPE put_enabled(VARIANT_BOOL) override { return log("put_enabled"); }
    HRESULT STDMETHODCALLTYPE get_fullScreen(VARIANT_BOOL*) override { return log("get_fullScreen"); }
    HRESULT STDMETHODCALLTYPE put_fullScreen(VARIANT_BOOL) override { return log("put_fullScreen"); }
    HRESULT STDMETHODCALLTYPE get_enableContextMenu(VARIANT_BOOL*) override { return log("get_enableContextMenu"); }
    HRESULT STDMETHODCALLTYPE put_enableContextMenu(VARIANT_BOOL) override { return log("put_enableContextMenu"); }
    HRESULT STDMETHODCALLTYPE put_uiMode(BSTR mode) override { return log("put_uiMode " + narrow(mode)); }
    HRESULT STDMETHODCALLTYPE get_uiMode(BSTR*) override { return log("get_uiMode"); }

private:
    HRESULT log(const std::string& call) {
        log_.add(call);
        return S_OK;
    }
    CallLog& log_;
    std::string url_;  // declared before the controls, which read it
    FakeControls controls_;
    bool with_controls_;
};

enum class PlayerKind { real, fake, fake_without_controls, missing };

// Registered for the life of the object, on a thread whose COM it initialises.
class PlayerSpy : public IClassFactory {
public:
    explicit PlayerSpy(PlayerKind kind)
        : kind_(kind), fake_(log, kind == PlayerKind::fake), com_(SUCCEEDED(CoInitialize(nullptr))) {
        if (kind == PlayerKind::real) real_factory_ = wmp_class_factory();
        CoRegisterClassObject(CLSID_WindowsMediaPlayer, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    }
    PlayerSpy(const PlayerSpy&) = delete;
    PlayerSpy& operator=(const PlayerSpy&) = delete;
    ~PlayerSpy() {
        if (cookie_) CoRevokeClassObject(cookie_);
        if (real_player) real_player->Release();
        if (real_factory_) real_factory_->Release();
        if (com_) CoUninitialize();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        *object = nullptr;
        ++created;
        requested_iid = iid;
        switch (kind_) {
        case PlayerKind::real: {
            if (!real_factory_) return E_FAIL;
            const HRESULT result = real_factory_->CreateInstance(outer, iid, object);
            if (SUCCEEDED(result) && !real_player)
                static_cast<IUnknown*>(*object)->QueryInterface(IID_IWMPPlayer, reinterpret_cast<void**>(&real_player));
            return result;
        }
        case PlayerKind::fake:
        case PlayerKind::fake_without_controls: return fake_.QueryInterface(iid, object);
        default: return REGDB_E_CLASSNOTREG;
        }
    }

    bool registered() const { return cookie_ != 0; }

    CallLog log;
    IWMPPlayer* real_player = nullptr;  // the first real player handed out
    int created = 0;
    IID requested_iid = IID_NULL;

private:
    static IClassFactory* wmp_class_factory() {
        using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        HMODULE wmp = LoadLibraryA("wmp.dll");  // stays loaded: the player's code must outlive the test
        const auto get_class_object = reinterpret_cast<GetClassObject>(
            reinterpret_cast<void (*)()>(wmp ? GetProcAddress(wmp, "DllGetClassObject") : nullptr));
        IClassFactory* factory = nullptr;
        if (get_class_object)
            get_class_object(CLSID_WindowsMediaPlayer, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        return factory;
    }

    PlayerKind kind_;
    FakePlayer fake_;
    bool com_;
    IClassFactory* real_factory_ = nullptr;
    DWORD cookie_ = 0;
};

}  // namespace media_test
