#include "messages.h"

namespace word
{

Message noDocumentMessage(const HostNames &names)
{
    if (names.document.empty()) {
        // A word processor without a document type of its own names itself after the documents.
        return {"No document found in " + names.product + ".  Open a song sheet in it and try again.",
                "Error",
                Icon::Critical,
                Buttons::Ok};
    }
    return {"No " + names.document + " document found.  Open a " + names.document + " document and try again.",
            "Error",
            Icon::Critical,
            Buttons::Ok};
}

Message noDocumentMessage(Application &app)
{
    std::string reason = app.noDocumentReason();
    if (reason.empty()) {
        return noDocumentMessage(app.names());
    }
    return {std::move(reason), "Error", Icon::Critical, Buttons::Ok};
}

Message fatalMessage(const HostNames &names)
{
    // The text keeps its three lines; the product name is split across the first break as
    // "Microsoft" / "Word" when it has two words, as the original wording does.
    const std::string &product = names.product;
    std::string first = product;
    std::string rest;
    if (const auto space = product.rfind(' '); space != std::string::npos) {
        first = product.substr(0, space);
        rest = product.substr(space + 1);
    }
    std::string text = "Unable to start " + product + ".  This application requires " + first + "\r\n";
    text += (rest.empty() ? std::string() : rest + ".  ") + "Make sure that it is properly installed, or open a"
        + (names.document.empty() ? std::string() : " " + names.document) + "\r\n";
    text += "document and try again.";
    return {text, "Fatal Error", Icon::Critical, Buttons::Ok};
}

} // namespace word
