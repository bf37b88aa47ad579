// Message archives for test images: the games' real English name banks (EVO_TEXT_BANKS names
// their folder), banks with rows renamed, and banks written from a list of names.
#pragma once

#include "GameImages.h"
#include "MessageBank.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <map>

inline std::vector<std::uint8_t> RealTextBank(const char* name) {
    QFile file(QStringLiteral(EVO_TEXT_BANKS "/%1.bin").arg(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

// `bank` with the rows of `renamed` holding other text, the rest as they were.
inline std::vector<std::uint8_t> RenamedBank(const std::vector<std::uint8_t>& bank,
                                             const std::map<std::size_t, QString>& renamed) {
    const auto parsed = rom::MessageBank::Parse(bank);
    std::vector<std::vector<std::uint16_t>> strings;
    for (std::size_t row = 0; parsed && row < parsed->Count(); ++row) {
        const auto found = renamed.find(row);
        strings.push_back(found == renamed.end() ? *parsed->Units(row)
                                                 : rom::EncodeText(found->second.toStdString()).value());
    }
    return rom::BuildMessageBank(strings, parsed ? parsed->Seed() : 0);
}

// A bank of `names`, apostrophes written as the games write them; a name the games cannot write
// makes an empty bank.
inline std::vector<std::uint8_t> BankOf(const QStringList& names) {
    std::vector<std::vector<std::uint16_t>> strings;
    for (QString name : names) {
        const auto units = rom::EncodeText(name.replace(u'\'', u'\u2019').toStdString());
        if (!units) {
            return rom::BuildMessageBank({}, 0);
        }
        strings.push_back(*units);
    }
    return rom::BuildMessageBank(strings, 0x782C);
}

// The real English banks of `image`'s game (Diamond and Pearl share HeartGold's species and
// moves), with the rows `renamed` changed.
inline GameImage WithEnglishNames(GameImage image, const std::map<std::size_t, QString>& species = {},
                                  const std::map<std::size_t, QString>& moves = {},
                                  const std::map<std::size_t, QString>& items = {}) {
    const char* itemBank = image.Kind == rom::Game::Platinum    ? "platinum-items"
                           : image.Kind == rom::Game::HeartGold ? "heartgold-items"
                                                                : "diamond-items";
    image.MessageMembers = rom::MessageArchiveMembers(
        image.Kind, RenamedBank(RealTextBank("heartgold-species"), species),
        RenamedBank(RealTextBank("heartgold-moves"), moves), RenamedBank(RealTextBank(itemBank), items));
    return image;
}
