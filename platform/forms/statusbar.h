// StatusBar: docked at the bottom of its form; panels count from 1.
#pragma once
#include <string>
#include <vector>

#include "control.h"

namespace forms {

class StatusBar : public Control {
 public:
  enum PanelStyle { Text, Date, Time };
  enum AutoSize { NoAutoSize, Spring, Contents };

  void Create(Form& form);
  // Adds a panel at the end; width in twips (the least width when sized automatically).
  int AddPanel(PanelStyle style = Text, Align align = Align::Left, AutoSize size = NoAutoSize,
               bool bevel = true, int width = 1440);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  std::wstring PanelText(int panel) const;
  void PanelText(int panel, const std::wstring& text);
  // A tip over the panel's rectangle, shown whatever the panel holds (the bar's own tips
  // appear only for truncated or icon-only panes).
  void PanelToolTip(int panel, const std::wstring& text);
  std::wstring PanelToolTip(int panel) const;
  // The bar's tooltip window (null until a panel has a tip).
  HWND TipWindow() const { return tips_; }
  void PanelPicture(int panel, HICON icon);
  // Lays the panels out again (the form calls it when it is resized).
  void Layout();

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  struct Panel {
    PanelStyle style;
    Align align;
    AutoSize size;
    bool bevel;
    int width;
    std::wstring text;
    HICON icon;
    std::wstring tip;
  };
  std::wstring Shown(const Panel& p) const;
  void Paint(int panel);
  void PlaceTips();
  std::vector<Panel> panels_;
  HWND tips_ = nullptr;
};

}  // namespace forms
