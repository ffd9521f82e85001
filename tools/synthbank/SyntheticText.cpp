#include "SyntheticText.h"

#include "TextCodec.h"

namespace {

const char *const kTerms[] = {
    "建设项目总投资", "固定资产投资", "流动资金", "建设投资", "工程费用", "工程建设其他费用", "预备费", "基本预备费",
    "价差预备费", "建设期利息", "建筑安装工程费", "设备及工器具购置费", "分部分项工程费", "措施项目费", "其他项目费",
    "规费", "税金", "增值税", "暂列金额", "暂估价", "计日工", "总承包服务费", "工程量清单", "招标控制价", "投标报价",
    "合同价款", "工程变更", "工程量偏差", "现场签证", "索赔", "不可抗力", "提前竣工", "误期赔偿", "竣工结算",
    "工程计量", "进度款", "预付款", "质量保证金", "缺陷责任期", "保修期", "施工组织设计", "施工图预算", "设计概算",
    "投资估算", "可行性研究", "项目建议书", "财务评价", "国民经济评价", "净现值", "内部收益率", "投资回收期",
    "资金时间价值", "名义利率", "有效利率", "等额支付", "价值工程", "功能评价", "寿命周期成本", "挣值分析",
    "费用偏差", "进度偏差", "赢得值", "网络计划", "关键线路", "总时差", "自由时差", "流水施工", "流水节拍",
    "人工费", "材料费", "施工机具使用费", "企业管理费", "利润", "定额", "消耗量定额", "预算定额", "概算定额",
    "人工单价", "材料单价", "机械台班单价", "招标投标法", "合同法", "建筑法", "价格法", "政府采购法", "土地管理法",
    "环境影响评价", "安全生产", "工程监理", "造价工程师", "注册执业", "工程造价咨询企业", "资质等级", "全过程造价管理",
    "限额设计", "标准化设计", "施工图审查", "招标文件", "评标委员会", "中标通知书", "履约担保", "投标保证金",
    "混凝土", "钢筋", "模板", "脚手架", "土石方工程", "地基处理", "桩基础", "砌筑工程", "屋面防水", "保温隔热",
    "门窗工程", "楼地面装饰", "给排水管道", "电气配管", "通风空调", "消防工程", "建筑面积", "清单项目编码",
    "项目特征", "计量单位", "工程量计算规则", "综合单价", "风险费用", "材料暂估单价", "专业工程暂估价"};

const char *const kTemplates[] = {
    "关于%1的说法，正确的是（  ）。", "下列费用中，属于%1的是（  ）。", "根据相关规定，%1应当计入（  ）。",
    "在%1中，%2的计算基数是（  ）。", "%1与%2的主要区别在于（  ）。", "发包人应在%1后支付%2，其期限为（  ）。",
    "%1按%2计算，不包括%3。", "%1由%2和%3组成。", "%1应在%2确定后调整。", "采用%1时，%2不得低于%3。",
    "%1属于%2的组成部分，应单独列项。", "当%1超过约定幅度时，%2应予调整，%3不变。", "%1是确定%2的依据。",
    "计算%1时，应扣除%2，但不扣除%3。", "%1以%2为基础，综合考虑%3。", "%1的责任由承包人承担。",
    "因%1造成的%2，由发包人承担。", "%1与%2之和构成%3。"};

QString escape(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            out += c;
            continue;
        }
        QByteArray bytes;
        if (!rtf::TextCodec::encodeChar(rtf::TextCodec::Gbk, QString(c), bytes))
            continue;
        for (const char b : bytes)
            out += QStringLiteral("\\'%1").arg(uint(uchar(b)), 2, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace

SyntheticText::SyntheticText()
{
    for (const char *t : kTerms)
        m_terms << escape(QString::fromUtf8(t));
    for (const char *t : kTemplates)
        m_templates << escape(QString::fromUtf8(t));
}

const QString &SyntheticText::term(std::mt19937 &random) const { return m_terms.at(int(random() % m_terms.size())); }

QString SyntheticText::sentence(std::mt19937 &random) const
{
    QString s = m_templates.at(int(random() % m_templates.size()));
    return s.replace(QLatin1String("%1"), term(random))
        .replace(QLatin1String("%2"), term(random))
        .replace(QLatin1String("%3"), term(random));
}

QString SyntheticText::rtf(const QString &escapedParagraphs) const
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
                          "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs24 ") +
           escapedParagraphs + QStringLiteral("\\par\n}");
}

QString SyntheticText::body(std::mt19937 &random, int options) const
{
    QString text = sentence(random);
    for (int i = 0; i < options; ++i)
        text += QStringLiteral("\\par\n%1. ").arg(QChar('A' + i)) + term(random) + escape(QStringLiteral("和")) +
                term(random);
    return rtf(text);
}

QString SyntheticText::explanation(std::mt19937 &random) const
{
    QString text;
    for (int i = 2 + int(random() % 3); i > 0; --i)
        text += sentence(random);
    return rtf(text);
}

QString SyntheticText::stem(std::mt19937 &random) const
{
    QString text = escape(QStringLiteral("背景资料："));
    for (int i = 0; i < 5; ++i)
        text += sentence(random);
    return rtf(text);
}
