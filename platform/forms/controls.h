// The standard controls: thin wrappers over the Win32 child windows.
// Every Create takes the form, the container (nullptr: the form itself, or a Frame) and the
// position in twips; the text of a control is Caption()/Text() of Control.
#pragma once
#include <functional>
#include <string>

#include "control.h"

namespace forms {

class Label : public Control {
 public:
  void Create(Form& form, Control* container, const std::wstring& caption, int left, int top,
              int width, int height, Align align = Align::Left);
  std::function<void()> Click;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class TextBox : public Control {
 public:
  void Create(Form& form, Control* container, const std::wstring& text, int left, int top,
              int width, int height, bool multiLine = false);
  void PasswordChar(wchar_t c);  // 0: plain text
  void MaxLength(int chars);
  void Locked(bool on);
  int SelStart() const;
  int SelLength() const;
  void SelStart(int pos);
  void SelLength(int length);
  void SelectAll();

  std::function<void()> Change;
  // Set keyAscii to 0 to drop the character, or to another code to replace it.
  std::function<void(int& keyAscii)> KeyPress;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class CommandButton : public Control {
 public:
  void Create(Form& form, Control* container, const std::wstring& caption, int left, int top,
              int width, int height);
  // Default: Enter clicks it; Cancel: Esc clicks it.
  void Default(bool on);
  void Cancel(bool on);
  // As if the user clicked (the Click event runs when enabled).
  void PerformClick();
  std::function<void()> Click;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class CheckBox : public Control {
 public:
  void Create(Form& form, Control* container, const std::wstring& caption, int left, int top,
              int width, int height);
  // 0 unticked, 1 ticked, 2 grey. Setting a different value runs Click, as a tick by
  // the user does.
  int Value() const;
  void Value(int value);
  std::function<void()> Click;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// A group box; controls created with it as their container are its children.
class Frame : public Control {
 public:
  void Create(Form& form, Control* container, const std::wstring& caption, int left, int top,
              int width, int height);

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class ComboBox : public Control {
 public:
  enum Style { DropDownCombo = 0, DropDownList = 2 };
  void Create(Form& form, Control* container, int left, int top, int width, int height,
              Style style = DropDownCombo, bool sorted = false);
  void AddItem(const std::wstring& text);
  void RemoveItem(int index);
  void Clear();
  int ListCount() const;
  std::wstring List(int index) const;  // 0-based
  int ListIndex() const;               // -1: none
  void ListIndex(int index);
  std::function<void()> Click;   // the selection changed
  std::function<void()> Change;  // the edit text was typed into

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class ProgressBar : public Control {
 public:
  void Create(Form& form, Control* container, int left, int top, int width, int height);
  void Min(int v);
  void Max(int v);
  int Value() const;
  void Value(int v);
};

class Slider : public Control {
 public:
  void Create(Form& form, Control* container, int left, int top, int width, int height);
  int Min() const;
  int Max() const;
  void Min(int v);
  void Max(int v);
  void SmallChange(int v);
  void LargeChange(int v);
  void TickFrequency(int v);
  int Value() const;
  void Value(int v);             // clamped to Min..Max by the control
  std::function<void()> Scroll;  // moved by the user

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// A vertical pair of arrows with no value of its own.
class SpinButton : public Control {
 public:
  void Create(Form& form, Control* container, int left, int top, int width, int height);
  std::function<void()> SpinUp;
  std::function<void()> SpinDown;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// A picture: an icon or a bitmap (the caller keeps the handle alive).
class Image : public Control {
 public:
  void Create(Form& form, Control* container, int left, int top, int width, int height);
  void Picture(HICON icon);
  void Picture(HBITMAP bitmap);
};

}  // namespace forms
