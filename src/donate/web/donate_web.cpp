// The donation dialog drawn by the page from its description, and the wait for its answer.
#include "donate/web/donate_web.h"

#include <emscripten.h>

#include "donate/donate_form.h"
#include "donate/donate_layout.h"
#include "util/web/form_json.h"

namespace lumera::web {

namespace {

EM_ASYNC_JS(int, JsShowDonateForm, (const char* description), {
    return await Module.page.showForm(JSON.parse(UTF8ToString(description)));
});

}  // namespace

int WebDonateDialog::ShowDonateDialog() {
    const int answer = JsShowDonateForm(FormJson(DonateForm()).c_str());
    return answer >= 0 && answer < static_cast<int>(kDonateAnswerTexts.size()) ? answer : 0;
}

}  // namespace lumera::web
