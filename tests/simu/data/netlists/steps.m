tsim = 5.0000e-04
td = 1.0000e-06
points = 1000
x0 = [ 0.0000e+00      ]
tmd = [ 1.0000e-04     1.0000e+05     2   1     
        3.0000e-04     1.0000e+05     2   2    ]
vgs = [ 5.0000e+00     0.0000e+00       
        2.0000e-03     2.0000e-03      ]
% Circuit name : /home/user/steps

% Circuit Description
X = [ 'V1        1   0   1.0000e+01                 '   % V1
      'R1        1   2   1.0000e+03                 '   % R1
      'C1        2   0   1.0000e-06                 '   % C1
      'I1        0   2   1.0000e-03                 '   % I1
      'I01       2   0   0.0000e+00                 ' ] % Vc

% Output Description
Y = [ 'V         I01                                ' ] % Vc

% Number of nodes
numn = 3;
