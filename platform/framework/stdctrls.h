#pragma once
// The standard windowed controls: memo, combo box, check box, push button, panel.
#include <string>
#include <vector>

#include "platform/framework/control.h"

namespace velocane {

class TImageList;
class TPopupMenu;

class TMemo : public TWinControl, private MemoSink {
 public:
  using TWinControl::TWinControl;
  const std::vector<std::string>& Lines() const { return lines_; }
  void SetLines(std::vector<std::string> lines);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only);
  TPopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(TPopupMenu* menu);

 protected:
  std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // A menu without entries means: no menu at all on a right click.
  bool NoContextMenu() const;
  void PeerTextEdited(const std::string& text) override;

  std::vector<std::string> lines_;
  bool read_only_ = false;
  TPopupMenu* popup_menu_ = nullptr;  // refers to, owned by the form
};

// A combo box with an edit field and a drop-down list.
class TComboBox : public TWinControl, private ComboBoxSink {
 public:
  using TWinControl::TWinControl;
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  // The edit field's text.
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  int ItemIndex() const { return item_index_; }
  int DropDownCount() const { return dropdown_count_; }
  void SetDropDownCount(int count);
  // Pictures for the items: item i has picture i of the list, where the list
  // holds one. Refers to the list, which its owner frees.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  // The picture of an item, or -1 for none.
  int ItemImageIndex(int item) const;

  bool TabStop() const override { return true; }
  // Fires when the user picks an item from the list (not when typing).
  TNotifyEvent OnSelect;
  TNotifyEvent OnChange;

  // User input, from the real control or from a test.
  void UserSelect(int index);
  void UserType(const std::string& text);

 protected:
  std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) override;

 private:
  void PeerSelected(int index) override { UserSelect(index); }
  void PeerTextEdited(const std::string& text) override;
  void Notification(TComponent* component, TOperation operation) override;

  std::vector<std::string> items_;
  int item_index_ = -1;
  int dropdown_count_ = 8;
  TImageList* images_ = nullptr;
};

class TCheckBox : public TWinControl, private ClickSink {
 public:
  using TWinControl::TWinControl;
  bool TabStop() const override { return true; }
  bool Checked() const { return checked_; }
  // A change of state runs the click action, whether the user or the program made it.
  void SetChecked(bool checked);
  // The user's click toggles the box.
  void UserClick() {
    UserInput([this] { SetChecked(!checked_); });
  }

 protected:
  std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) override;

 private:
  void PeerClicked() override { UserClick(); }

  bool checked_ = false;
};

// A push button; TBitBtn also carries a picture in the original design.
class TButton : public TWinControl, private ClickSink {
 public:
  using TWinControl::TWinControl;
  bool TabStop() const override { return true; }
  // A click of a button with a modal result ends the modal form it is on
  // with that result.
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult result) { modal_result_ = result; }
  void Click() override;
  // The user's click, from the real button or from a test.
  void UserClick() {
    UserInput([this] { Click(); });
  }

 protected:
  std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) override;

 private:
  void PeerClicked() override { UserClick(); }

  TModalResult modal_result_ = mrNone;
};

class TBitBtn : public TButton {
 public:
  using TButton::TButton;
};

class TPanel : public TWinControl {
 public:
  using TWinControl::TWinControl;
  bool BevelRaised() const { return bevel_raised_; }
  void SetBevelRaised(bool raised);

 protected:
  std::unique_ptr<WidgetPeer> CreatePeer(WidgetFactory& factory, WidgetPeer* parent) override;
  void PaintBackground(Canvas& canvas) override;

 private:
  bool bevel_raised_ = true;
};

}  // namespace velocane
