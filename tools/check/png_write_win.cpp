// Writing a preview picture as a PNG file through the Windows Imaging Component, a system
// library, so that the Windows builds ship no PNG library of their own.
#include "tools/check/png_write.h"

#include "base/com_ptr_win.h"
#include "base/text.h"

#include <windows.h>
#include <wincodec.h>

#include <filesystem>
#include <vector>

namespace {

// COM on this thread for the length of one picture. A thread that already has COM in the
// other model is used as it is; only a successful initialisation is undone.
class CComScope {
  public:
    CComScope() : hr(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~CComScope() {
        if (SUCCEEDED(hr))
            CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;
    bool Usable() const { return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return hr; }

  private:
    HRESULT hr;
};

std::string Failure(const char* step, HRESULT hr) {
    char text[96];
    FormatText(text, sizeof text, "%s failed (0x%08lX)", step, static_cast<unsigned long>(hr));
    return text;
}

// Encodes the picture into the file; fileOpened says whether the file was created (and so must
// go when encoding fails). Every COM reference is released on return.
bool Encode(const std::wstring& path, const PreviewImage& image, bool& fileOpened,
            std::string& error) {
    fileOpened = false;
    CComRef<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory.OutVoid());
    if (FAILED(hr)) {
        error = Failure("making the imaging factory", hr);
        return false;
    }
    CComRef<IWICStream> stream;
    hr = factory->CreateStream(stream.Out());
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    if (FAILED(hr)) {
        error = Failure("opening the file", hr);
        return false;
    }
    fileOpened = true;

    CComRef<IWICBitmapEncoder> encoder;
    CComRef<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const char* step = "making the PNG encoder";
    hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out());
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) {
        step = "starting the image";
        hr = encoder->CreateNewFrame(frame.Out(), nullptr);
    }
    if (SUCCEEDED(hr))
        hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr))
        hr = frame->SetSize(static_cast<UINT>(image.nWidth), static_cast<UINT>(image.nHeight));
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    // The encoder answers with the format it will take; 24-bit BGR is one PNG holds as it is.
    if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (FAILED(hr)) {
        error = Failure(step, hr);
        return false;
    }

    // Row by row, each turned from RGB into the encoder's BGR.
    const std::size_t rowBytes = static_cast<std::size_t>(image.nWidth) * 3;
    std::vector<BYTE> row(rowBytes);
    for (int y = 0; y < image.nHeight && SUCCEEDED(hr); ++y) {
        const std::uint8_t* from = image.rgb.data() + static_cast<std::size_t>(y) * rowBytes;
        for (std::size_t x = 0; x < rowBytes; x += 3) {
            row[x] = from[x + 2];
            row[x + 1] = from[x + 1];
            row[x + 2] = from[x];
        }
        hr = frame->WritePixels(1, static_cast<UINT>(rowBytes), static_cast<UINT>(rowBytes),
                                row.data());
    }
    step = "writing the image";
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    if (FAILED(hr)) {
        error = Failure(step, hr);
        return false;
    }
    return true;
}

} // namespace

bool WritePreviewPng(const std::string& path, const PreviewImage& image, std::string& error) {
    // The picture's bytes must be what its size says: three per pixel, nothing missing.
    const std::size_t pixels = image.rgb.size() / 3;
    if (image.nWidth <= 0 || image.nHeight <= 0 || image.rgb.size() % 3 != 0 ||
        pixels % static_cast<std::size_t>(image.nWidth) != 0 ||
        pixels / static_cast<std::size_t>(image.nWidth) !=
            static_cast<std::size_t>(image.nHeight)) {
        error = "the picture is empty or its size is wrong";
        return false;
    }
    // The name as the checker's other file calls see it (the folder was made from it).
    std::wstring widePath;
    try {
        widePath = std::filesystem::path(path).wstring();
    } catch (const std::exception&) {
        error = "the file name cannot be converted";
        return false;
    }
    CComScope com;
    if (!com.Usable()) {
        error = Failure("starting COM", com.Result());
        return false;
    }
    bool fileOpened = false;
    bool written = Encode(widePath, image, fileOpened, error);
    if (!written && fileOpened)
        DeleteFileW(widePath.c_str());
    return written;
}
