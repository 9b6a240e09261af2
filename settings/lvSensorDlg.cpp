#include "settings/lvSensorDlg.h"
#include "ui_lvSensorDlg.h"

lvSensorDlg::lvSensorDlg(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::lvSensorDlg)
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

lvSensorDlg::~lvSensorDlg()
{
    delete ui;
}

QString lvSensorDlg::styleSheetWithoutBorder()
{
    const QString strSheet = lvSensorDlg().styleSheet();
    const int nBorder = strSheet.indexOf(QLatin1String("QDialog"));
    return nBorder < 0 ? strSheet : strSheet.left(nBorder).trimmed() + QLatin1Char('\n');
}

void lvSensorDlg::setSensor(lvSensor pSensor)
{
    sensor = pSensor;
    ui->lineEditSensorName->setText(sensor.strName);
    ui->lineEditSensorFormula->setText(sensor.strFormula);
    ui->lineEditSensorUnit->setText(sensor.strUnit);
    ui->checkBoxShowExp->setChecked(sensor.bExponential);
    ui->lineEditDataName->setText(sensor.strDataName);
    ui->lineEditInputMask->setText(sensor.strInputMask);
}

void lvSensorDlg::copyFieldsToSensor()
{
    sensor.strName = ui->lineEditSensorName->text();
    sensor.strFormula = ui->lineEditSensorFormula->text();
    sensor.strUnit = ui->lineEditSensorUnit->text();
    sensor.bExponential = ui->checkBoxShowExp->isChecked();
    sensor.strDataName = ui->lineEditDataName->text();
    sensor.strInputMask = ui->lineEditInputMask->text();
}

lvSensor lvSensorDlg::getSensor()
{
    copyFieldsToSensor();
    return sensor;
}

void lvSensorDlg::on_buttonBox_accepted()
{
    copyFieldsToSensor();
}

void lvSensorDlg::on_lineEditInputMask_editingFinished()
{
    ui->lineEditInputMaskShow->setInputMask(ui->lineEditInputMask->text());
}
