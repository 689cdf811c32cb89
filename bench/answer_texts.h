#pragma once
// Big answers of each interface, as a server would send them, for the parser benchmarks and
// for the comparison with Python's csv module and ElementTree (bench/python_parsers.py reads
// the same texts, written out by parsers_bench --write-answers=DIR).
#include <string>

namespace pw::bench {

inline std::string LrHistory(std::size_t bytes) {
    std::string s = "<HistoryResponse id=\"1\" date=\"2009-05-03 10:00:00\"><Pager><PageSize>50"
                    "</PageSize><PageCount>1</PageCount><PageNumber>1</PageNumber><TotalCount>1"
                    "</TotalCount></Pager>";
    for (int i = 0; s.size() < bytes; ++i) {
        const std::string id = std::to_string(10000000 + i);
        s += "<Receipt><ReceiptId>" + id + "</ReceiptId><Date>2009-03-05 10:00:00</Date>"
             "<PayerName>Demo User</PayerName><PayeeName>Payee &amp; Shop</PayeeName><Amount>-10.0000"
             "</Amount><Fee>0.0000</Fee><ClosingBalance>490.0000</ClosingBalance><Transfer>"
             "<TransferId>" + id + "</TransferId><TransferType>transfer</TransferType><Payer>"
             "U1234567</Payer><Payee>U7654321</Payee><CurrencyId>LRUSD</CurrencyId><Amount>"
             "10.0000</Amount><Memo>Invoice " + id + "</Memo><Anonymous>false</Anonymous>"
             "<Source>API</Source></Transfer></Receipt>";
    }
    return s + "</HistoryResponse>";
}

inline std::string VmHistory(std::size_t bytes) {
    std::string s = "<Response><Status><Code>Success</Code><Message>OK</Message></Status><Transactions>";
    for (int i = 0; s.size() < bytes; ++i) {
        const std::string id = std::to_string(5000000 + i);
        s += "<Transaction><TransId>" + id + "</TransId><Memo>Invoice " + id + " &amp; more</Memo>"
             "<PaymentId>P" + id + "</PaymentId><ToFromAccount><AccountId>VM100002</AccountId><Name>"
             "Payee Shop</Name></ToFromAccount><Timestamp>2009-03-05 10:00:00</Timestamp><Amount>"
             "10.00</Amount><TransType>sent</TransType></Transaction>";
    }
    return s + "</Transactions></Response>";
}

inline std::string PmHistory(std::size_t bytes) {
    std::string s = "Time,Type,Batch,Currency,Amount,Fee,Payer Account,Payee Account,Payment ID,Memo\n";
    for (int i = 0; s.size() < bytes; ++i) {
        const std::string id = std::to_string(500000 + i);
        s += "03/15/2025 10:30,Income," + id + ",USD,25.00,0.13,U7654321,U1234567,INV-" + id +
             ",Invoice " + id + ", March\n";
    }
    return s;
}

inline std::string EgHistory(std::size_t bytes) {
    std::string s = "Date,Type,Batch,Metal,Weight,Acc,Name,USD,Cur,Rate,Memo\n";
    for (int i = 0; s.size() < bytes; ++i) {
        const std::string id = std::to_string(40000000 + i);
        s += "1/2/2009 10:11:12,Payment Received," + id + ",Gold,0.500000,7654321,\"Payee Shop\","
             "450.00,USD,900.00,\"Invoice " + id + "\"\n";
    }
    return s;
}

inline std::string PmBalancePage(std::size_t bytes) {
    std::string s = "<html><form>\n";
    for (int i = 0; s.size() < bytes; ++i)
        s += "<input name='U" + std::to_string(1000000 + i) + "' type='hidden' value='10.00'>\n";
    return s + "</form></html>";
}

inline std::string EgBalancePage(std::size_t bytes) {
    std::string s = "<html><form>\n";
    while (s.size() < bytes)
        s += "<input type=hidden name=Gold_Ounces value=\"1.500000\">\n"
             "<input type=hidden name=Gold_Grams value=\"46.654500\">\n";
    return s + "</form></html>";
}

inline std::string GdpBalances(std::size_t bytes) {
    std::string s;
    while (s.size() < bytes) s += "<balance><USD>10.00</USD><EUR>8.57</EUR><GBP>7.13</GBP></balance>";
    return s;
}

// A balance answer padded with digits: ECUMoney answers are one line.
inline std::string EcuBalance(std::size_t bytes) {
    return "12.345/" + std::string(bytes > 8 ? bytes - 8 : 0, '7') + ".";
}

}  // namespace pw::bench
