#pragma once

#include <wx/print.h>

namespace nomvarix {

class CNomvarixView;

/// The editor as it shows on screen, on one printed page: the same paint pass on the printer's
/// device context, scaled so that the window's client area fits the page.
class EditorPrintout final : public wxPrintout {
 public:
  explicit EditorPrintout(CNomvarixView& view);

  bool OnPrintPage(int page) override;
  bool HasPage(int page) override { return page == 1; }
  void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;

 private:
  CNomvarixView& view_;
};

}  // namespace nomvarix
