#pragma once
// The e-gold tab: the account tab on the e-gold client. A login that finds no metal prices
// fetches them over plain HTTP before the balance request; the date range of the history
// always applies.
#include <memory>
#include <string>
#include <vector>

#include "accounts/gui/account_tab.h"

namespace pw {

class EgClient;

class CEGoldDlg : public CAccountTab {
    Q_OBJECT
  public:
    // The client's hosts come from "EGHost" and "EGPriceHost" of the settings.
    CEGoldDlg(CPursewardApp& app, TabHost& host, QWidget* parent = nullptr);
    // With a client made by the caller (tests).
    CEGoldDlg(std::unique_ptr<EgClient> client, CPursewardApp& app, TabHost& host,
              QWidget* parent = nullptr);

    EgClient& Eg();

    // "From/To Date" stays ticked and disabled: the request always carries the dates.
    void UpdateFilterControls() override;
    // Also forgets the metal prices: the next login fetches them again.
    void ChangeAccount() override;
    // A row without a counterpart gives nothing to select on.
    void GetHistoryForAccount() override;
    std::vector<MenuItem> HistoryMenu() const override;

  protected:
    bool Step(TabStep step, const LoginFields& login) override;

  private:
    // The From/To field of the selected history row ("" when none is selected).
    std::string SelectedCounterpart() const;
    // Set when a login found the price list empty; the prices are fetched once its state is
    // saved, right before the balance request.
    bool pricesDue_ = false;
};

}  // namespace pw
