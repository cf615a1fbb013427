tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
x0 = [ 0.0000e+00      ]
stmax = [ 'I_L1      2.0000e+00     ' ]
% Circuit name : /home/user/series2

% Circuit Description
X = [ 'V1        1   0   1.0000e+00                 '   % V1
      'V01       2   3   0.0000e+00                 '   % IL
      'L1        1   2   1.0000e-03                 '   % L1
      'R1        3   0   1.0000e+00                 '   % R1
      'R2        4   0   1.0000e+00                 '   % R2
      'V02       2   4   0.0000e+00                 ' ]

% Output Description
Y = [ 'I         V01                                '   % IL
      'I         V02                                ' ]

% Number of nodes
numn = 5;
